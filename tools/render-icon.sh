#!/usr/bin/env bash
# Renders an SVG into a multi-size Windows icon: render-icon.sh SOURCE.svg OUTPUT.ico SIZE...
set -euo pipefail
source=$1 output=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=()
for size in "$@"; do
    rsvg-convert -w "$size" -h "$size" "$source" -o "$work/$size.png"
    frames+=("$work/$size.png")
done
convert "${frames[@]}" -define icon:auto-resize= "$output"
