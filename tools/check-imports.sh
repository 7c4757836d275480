#!/usr/bin/env bash
# Compares what the release imports with the reviewed list: check-imports.sh [EXE]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$top/build/windows/qmx.exe}
reviewed=$(grep -v '^#' "$top/tools/release-imports.txt")
if ! changes=$(diff <(echo "$reviewed") <("$top/tools/list-imports.sh" "$exe")); then
    echo "qmx.exe's imports differ from tools/release-imports.txt (< reviewed, > now):"
    echo "$changes"
    exit 1
fi
echo "qmx.exe imports only the reviewed functions ($(echo "$reviewed" | wc -l))"
