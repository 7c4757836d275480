#!/usr/bin/env bash
# Prints what an executable needs of Windows, sorted: the oldest Windows its header admits
# ("subsystem!MAJOR.MINOR") and what it imports, one "dll!function" a line.
#   list-imports.sh EXE
set -euo pipefail
x86_64-w64-mingw32-objdump -p "$1" |
    awk '/^MajorSubsystemVersion/ { major = $2 } /^MinorSubsystemVersion/ { print "subsystem!" major "." $2 }
         /DLL Name:/ { dll = tolower($3) }
         dll && /^\t[0-9a-f]+\t +[0-9]+ / { print dll "!" $3 }
         /^$/ && dll && seen { dll = "" }
         /vma:/ { seen = 1 }' |
    LC_ALL=C sort -u
