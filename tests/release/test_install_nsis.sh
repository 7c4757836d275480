#!/usr/bin/env bash
# tools/install-nsis.sh's guards, which need neither the network nor a build: it refuses a prefix
# it would destroy, and leaves the pinned version where it is installed.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
verdict() {
    if [ "$1" = 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $2"; fi
}
# install PREFIX: runs the script for PREFIX, its words into $work/out. Its apt fails at once:
# a guard that let the script past would not download, nor change the machine.
mkdir "$work/bin" && printf '#!/bin/sh\nexit 1\n' >"$work/bin/apt-get" && chmod +x "$work/bin/apt-get"
install() { PATH="$work/bin:$PATH" NSIS_PREFIX=$1 "$top/tools/install-nsis.sh" >"$work/out" 2>&1; }

! install / && grep -q 'NSIS_PREFIX is /' "$work/out"
verdict $? "the root folder is taken"
mkdir "$work/other" && touch "$work/other/kept"
! install "$work/other" && [ -f "$work/other/kept" ] && grep -q 'not an earlier installation' "$work/out"
verdict $? "a folder holding something else is taken"
mkdir -p "$work/nsis/bin" && printf '#!/bin/sh\n' >"$work/nsis/bin/makensis" && chmod +x "$work/nsis/bin/makensis"
echo "makensis from Debian 13's nsis source package, nsis-common $(sed -n 's/^version: *//p' \
    "$top/tools/nsis.pin")" >"$work/nsis/installed-from"
install "$work/nsis" && grep -q 'as pinned, is installed' "$work/out"
verdict $? "the pinned version installed is not kept as it is"
echo "nsis: $passed passed, $failed failed"
[ "$failed" = 0 ]
