#!/usr/bin/env bash
# Packs the portable zip the same way every time: package-zip.sh EPOCH ZIP FILE...
# The entries keep the given order, carry the commit's time (in UTC) and no owner or extra data.
set -euo pipefail
epoch=$1 zip=$2
shift 2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
names=()
for file in "$@"; do
    cp "$file" "$stage/"
    names+=("$(basename "$file")")
done
touch -d "@$epoch" "${names[@]/#/$stage/}"
zip=$(realpath -m "$zip")
rm -f "$zip"
(cd "$stage" && TZ=UTC zip -q -X -D "$zip" "${names[@]}")
