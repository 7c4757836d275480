#!/usr/bin/env bash
# Compares what the release imports with the reviewed list, and refuses any DLL that one of the
# Windows versions named (XP and Server 2003 to 11) would look for in the program's folder
# first: check-imports.sh [--list LIST] [EXE], or check-imports.sh [--list LIST] --listing FILE
# for a list-imports.sh listing. Without --list, an x86 EXE is compared with
# tools/release-imports-x86.txt, anything else with tools/release-imports.txt.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
# The DLLs on the KnownDLLs list (Session Manager\KnownDLLs) of every version named, loaded from
# the system folder whatever lies beside a program ("Dynamic-link library search order",
# Microsoft's documentation). NT 5.1's and 5.2's lists also hold lz32, url, urlmon, version, wininet,
# wldap32 and the 16-bit OLE thunks, which later lists do not all keep; Windows 10's and 11's lists, as tools that read the
# \KnownDlls object directory show them on real systems (lucasg/Dependencies issue 113,
# microsoft/ebpf-for-windows issue 2861), hold everything below. msvcrt is mapped on NT 5.1 and 5.2 as
# an import of the listed ole32 and rpcrt4, and listed itself from Windows 7 on. comctl32
# version 6 comes from the side-by-side store the manifest names, which the loader consults
# before any folder.
known="advapi32 comdlg32 gdi32 imagehlp kernel32 ole32 oleaut32 rpcrt4 shell32 user32 msvcrt
comctl32"
list=
if [ "${1:-}" = --list ]; then
    list=$2
    shift 2
fi
if [ "${1:-}" = --listing ]; then
    imports=$(cat "$2") || exit 1
else
    exe=${1:-$top/build/windows/qmx.exe}
    imports=$("$top/tools/list-imports.sh" "$exe") || exit 1
    if [ -z "$list" ] && x86_64-w64-mingw32-objdump -f "$exe" | grep -q "file format pei-i386"; then
        list=$top/tools/release-imports-x86.txt
    fi
fi
list=${list:-$top/tools/release-imports.txt}
unknown=$(grep -i "\.dll!" <<<"$imports" | sed "s/\.dll!.*//I" | tr "A-Z" "a-z" | sort -u | grep -vxF -f <(tr " " "\n" <<<"$known"))
if [ -n "$unknown" ]; then
    echo "qmx.exe imports DLLs that are no known DLL on every Windows named (load them from the system folder at run time):"
    echo "$unknown"
    exit 1
fi
reviewed=$(grep -v '^#' "$list") || exit 1
if ! changes=$(diff <(echo "$reviewed") <(echo "$imports")); then
    echo "qmx.exe's imports differ from $list (< reviewed, > now):"
    echo "$changes"
    exit 1
fi
echo "qmx.exe imports only the reviewed functions of $(basename "$list") ($(echo "$reviewed" | wc -l)), from known DLLs"
