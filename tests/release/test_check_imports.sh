#!/usr/bin/env bash
# The import check refuses a static import of a DLL that NT 5.2 knew and later Windows versions
# do not (the loader would take it from the program's folder before any code runs), and takes
# the releases as they are, the x64 one and the x86 one with its imports and size:
# test_check_imports.sh [EXE [X86_EXE]] (the build's own when not given)
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
check="$top/tools/check-imports.sh"
listing=$(mktemp)
trap 'rm -f "$listing"' EXIT
"$top/tools/list-imports.sh" "${1:-$top/build/windows/qmx.exe}" >"$listing" || exit 1
passed=0
failed=0
verdict() {
    if [ "$1" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $2"; fi
}
"$check" --listing "$listing"
verdict $? "the release's imports are refused"
for dll in version lz32 url urlmon wininet wldap32; do
    out=$(cat "$listing" <(echo "$dll.dll!AnyFunction") | "$check" --listing /dev/stdin)
    [ $? != 0 ] && grep -qx "$dll" <<<"$out"
    verdict $? "an import of $dll.dll is taken"
done
x86=${2:-$top/build/windows/x86/qmx.exe}
"$check" "$x86"
verdict $? "the x86 release's imports are refused"
"$check" --list "$top/tools/release-imports-x86.txt" --listing "$listing" >/dev/null
[ $? != 0 ]
verdict $? "the x64 release passes for the x86 list"
"$top/tools/size-report.sh" "$x86"
verdict $? "the x86 release is over its ceiling"
# The x86 link points some of the standard library's functions at abort() (CMakeLists.txt): only
# the library's objects of the old string ABI may call them, never another of its objects nor the
# program's own (a newer toolchain could add a caller).
callers=$(for symbol in $(sed -n 's/.*--defsym=\([^=]*\)=_abort.*/\1/p' "$top/CMakeLists.txt"); do
    for archive in "$(i686-w64-mingw32-g++-win32 -print-file-name=libstdc++.a)" \
        $(find "$top/build/windows/x86" -name '*.obj' -o -name '*.a'); do
        i686-w64-mingw32-nm -A "$archive" 2>/dev/null | grep " U $symbol\$" | cut -d: -f2
    done
done | sort -u | paste -sd ' ')
[ "$callers" = "cow-stdexcept.o cow-string-inst.o" ]
verdict $? "functions the x86 link points at abort() have other callers: $callers"
echo "imports: $passed passed, $failed failed"
[ "$failed" = 0 ]
