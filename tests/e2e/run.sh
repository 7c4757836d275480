#!/usr/bin/env bash
# Runs the end-to-end tests: run.sh BUILD_DIR (the Windows build, holding qmx.exe and
# qmxdriver.exe). Prints one line per check and closes with the count of tests. A build for x86
# runs on 32-bit Windows (a 32-bit Wine prefix), and only the stories x86-stories.txt names: the
# rest runs the same code, which the x64 build's stories cover. E2E_SUITES (names, as
# "installer menu") runs only those suites, in a folder of its own when E2E_WORK_NAME names one,
# so that two runs of one build can go side by side.
set -u
here=$(cd "$(dirname "$0")" && pwd)
E2E_HERE=$here
E2E_BUILD=$(cd "$1" && pwd)
E2E_WORK="$E2E_BUILD/${E2E_WORK_NAME:-e2e}"
rm -rf "$E2E_WORK/Program Files" "$E2E_WORK/another copy" "$E2E_WORK"/failed-*.png
mkdir -p "$E2E_WORK"

. "$here/../../tools/wine-env.sh"
. "$here/lib.sh"
# The folder of the installer, which the x64 build makes with the x86 build in its x86/.
E2E_RELEASE=$E2E_BUILD
bitness=$(wine_env_bitness "$E2E_BUILD/qmx.exe")
if [ -n "$bitness" ]; then
    E2E_RELEASE=$(cd "$E2E_BUILD/.." && pwd)
    E2E_STORIES=$(grep -v '^#' "$here/x86-stories.txt")
fi
wine_env_start "$E2E_WORK/wine" $bitness
trap wine_env_stop EXIT
E2E_ALSA_SOUND=$ALSA_CONFIG_PATH
E2E_ALSA_SILENT="$E2E_WORK/alsa-silent.conf"
: >"$E2E_ALSA_SILENT"
mkdir -p "$E2E_WORK/driver"
cp "$E2E_BUILD/qmxdriver.exe" "$E2E_WORK/driver/"
E2E_DRIVER="$E2E_WORK/driver/qmxdriver.exe"
# Focus rectangles show once the keyboard is used, as Windows is set out of the box (a new Wine
# prefix shows them always).
drv keyboard-cues 0

suites=("$here"/test_${E2E_ONLY:-*}.sh)
if [ -n "${E2E_SUITES:-}" ]; then
    suites=()
    for name in $E2E_SUITES; do suites+=("$here/test_$name.sh"); done
fi
for suite in "${suites[@]}"; do
    echo "$(basename "$suite" .sh)"
    suite_start=$SECONDS
    . "$suite"
    echo "$(basename "$suite" .sh): $((SECONDS - suite_start)) s"
done

echo "e2e: $E2E_PASSED passed, $E2E_FAILED failed"
[ "$E2E_FAILED" = 0 ]
