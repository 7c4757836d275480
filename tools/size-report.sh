#!/usr/bin/env bash
# Prints the release's size and its sections, and fails when it is over the product's ceiling of
# 700 KiB: size-report.sh EXE. The build runs it after every link of qmx.exe, and `make bench`
# prints it beside the timings.
set -euo pipefail
exe=$1
ceiling=716800
bytes=$(stat -c %s "$exe")
# Each section's name and size (objdump gives it in hexadecimal, which mawk does not read).
sections=$(x86_64-w64-mingw32-objdump -h "$exe" | while read -r _ name size _; do
    if [[ $name == .* ]]; then printf '%s %d\n' "$name" "$((16#$size))"; fi
done | paste -sd, | sed 's/,/, /g')
printf '%s: %d bytes (%d.%d KiB) of the %d allowed; sections: %s\n' "$(basename "$exe")" "$bytes" \
    $((bytes / 1024)) $((bytes % 1024 * 10 / 1024)) "$ceiling" "$sections"
if [ "$bytes" -gt "$ceiling" ]; then
    echo "$(basename "$exe") is over the 700 KiB the product allows: find what grew" >&2
    exit 1
fi
