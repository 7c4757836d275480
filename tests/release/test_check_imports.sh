#!/usr/bin/env bash
# The import check refuses a static import of a DLL that NT 5.2 knew and later Windows versions
# do not (the loader would take it from the program's folder before any code runs), and takes
# the release as it is: test_check_imports.sh [EXE]
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
echo "imports: $passed passed, $failed failed"
[ "$failed" = 0 ]
