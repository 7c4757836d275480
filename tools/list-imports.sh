#!/usr/bin/env bash
# Prints what an executable imports, one "dll!function" a line, sorted: list-imports.sh EXE
set -euo pipefail
x86_64-w64-mingw32-objdump -p "$1" |
    awk '/DLL Name:/ { dll = tolower($3) }
         dll && /^\t[0-9a-f]+\t +[0-9]+ / { print dll "!" $3 }
         /^$/ && dll && seen { dll = "" }
         /vma:/ { seen = 1 }' |
    LC_ALL=C sort -u
