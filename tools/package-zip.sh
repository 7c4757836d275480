#!/usr/bin/env bash
# Packs the portable zip the same way every time: package-zip.sh EPOCH ZIP ENTRY=FILE...
# where ENTRY is the file's path in the zip. The entries keep the given order, carry the commit's
# time (in UTC) and no owner, extra data or folder entries of their own.
set -euo pipefail
epoch=$1 zip=$2
shift 2
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
names=()
for pair in "$@"; do
    name=${pair%%=*}
    mkdir -p "$stage/$(dirname "$name")"
    cp "${pair#*=}" "$stage/$name"
    touch -d "@$epoch" "$stage/$name"
    names+=("$name")
done
zip=$(realpath -m "$zip")
rm -f "$zip"
(cd "$stage" && TZ=UTC zip -q -X -D "$zip" "${names[@]}")
