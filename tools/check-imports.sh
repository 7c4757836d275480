#!/usr/bin/env bash
# Compares what the release imports with the reviewed list, and refuses any DLL that the oldest
# Windows named (XP x64 and Server 2003, NT 5.2) would look for in the program's folder first:
# check-imports.sh [EXE]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exe=${1:-$top/build/windows/qmx.exe}
# NT 5.2's KnownDLLs (Session Manager\KnownDLLs), loaded from the system folder whatever lies
# beside a program; msvcrt with them, as the session manager maps the imports of the listed DLLs
# (ole32, rpcrt4) too; comctl32 version 6 from the side-by-side store the manifest names, which
# the loader consults before any folder.
known="advapi32 comdlg32 gdi32 imagehlp kernel32 lz32 ole32 oleaut32 olecli32 olecnv32 olesvr32
olethk32 rpcrt4 shell32 url urlmon user32 version wininet wldap32 msvcrt comctl32"
imports=$("$top/tools/list-imports.sh" "$exe") || exit 1
unknown=$(grep -i "\.dll!" <<<"$imports" | sed "s/\.dll!.*//I" | tr "A-Z" "a-z" | sort -u | grep -vxF -f <(tr " " "\n" <<<"$known"))
if [ -n "$unknown" ]; then
    echo "qmx.exe imports DLLs that are no known DLL on Windows XP x64 (load them from the system folder at run time):"
    echo "$unknown"
    exit 1
fi
reviewed=$(grep -v '^#' "$top/tools/release-imports.txt")
if ! changes=$(diff <(echo "$reviewed") <(echo "$imports")); then
    echo "qmx.exe's imports differ from tools/release-imports.txt (< reviewed, > now):"
    echo "$changes"
    exit 1
fi
echo "qmx.exe imports only the reviewed functions ($(echo "$reviewed" | wc -l)), from known DLLs"
