#!/usr/bin/env bash
# Builds the current commit twice, in two folders of different names, and compares what a user
# downloads: both qmx.exe, the installer and the portable zip must be byte-identical.
# A clean work tree's own build is one of the two (brought up to date first), unless it signs
# (signatures are made anew each time; the clones sign nothing); otherwise, and for the other, a
# fresh clone of the commit is built from nothing.
# Prints one line per file and exits non-zero when any differs.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset SOURCE_DATE_EPOCH  # the build takes it from the commit itself
commit=$(git -C "$top" rev-parse HEAD)

# build_release FOLDER LOG: configures and builds what a user downloads in a source folder.
build_release() {
    (cd "$1" && cmake --preset windows >/dev/null && cmake --build --preset windows --target release) \
        >"$2" 2>&1
}

sides=("$work/first" "$work/second-with-a-longer-name")
[ -z "$(git -C "$top" status --porcelain)" ] &&
    ! grep -q '^QMX_SIGN_PKCS12:[A-Z]*=.' "$top/build/windows/CMakeCache.txt" 2>/dev/null &&
    sides[0]=$top
for side in "${sides[@]}"; do
    [ "$side" = "$top" ] && continue
    git clone -q "$top" "$side" && git -C "$side" checkout -q --detach "$commit"
    build_release "$side" "$side.log" || { echo "reproducible: the build in $(basename "$side") failed"; exit 1; }
done
if [ "${sides[0]}" = "$top" ]; then
    build_release "$top" "$work/work-tree.log" || { echo "reproducible: the work tree's build failed"; exit 1; }
fi
status=0
for file in qmx.exe x86/qmx.exe VeltoVolumeController-4.0-setup.exe VeltoVolumeController-4.0-portable.zip; do
    if cmp -s "${sides[0]}/build/windows/$file" "${sides[1]}/build/windows/$file"; then
        echo "reproducible: $file identical ($(stat -c %s "${sides[1]}/build/windows/$file") bytes)"
    else
        echo "reproducible: $file DIFFERS"
        status=1
    fi
done
exit $status
