#!/usr/bin/env bash
# Builds the current commit twice, in two folders of different names, and compares what a user
# downloads: qmx.exe, the installer and the portable zip must be byte-identical.
# Prints one line per file and exits non-zero when any differs.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset SOURCE_DATE_EPOCH  # the build takes it from the commit itself
commit=$(git -C "$top" rev-parse HEAD)
for side in first second-with-a-longer-name; do
    git clone -q "$top" "$work/$side" && git -C "$work/$side" checkout -q --detach "$commit"
    (cd "$work/$side" && cmake --preset windows >/dev/null && cmake --build --preset windows) \
        >"$work/$side.log" 2>&1 || { echo "reproducible: the build in $side failed"; exit 1; }
done
status=0
for file in qmx.exe VeltoVolumeController-4.0-setup.exe VeltoVolumeController-4.0-portable.zip; do
    if cmp -s "$work/first/build/windows/$file" "$work/second-with-a-longer-name/build/windows/$file"; then
        echo "reproducible: $file identical ($(stat -c %s "$work/first/build/windows/$file") bytes)"
    else
        echo "reproducible: $file DIFFERS"
        status=1
    fi
done
exit $status
