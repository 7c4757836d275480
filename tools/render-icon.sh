#!/usr/bin/env bash
# Renders an SVG into a multi-size Windows icon with exactly the frames asked for:
# render-icon.sh SOURCE.svg OUTPUT.ico SIZE... (a 256-pixel frame is stored PNG-compressed, as
# Windows reads it since Vista; the smaller frames are 32-bit bitmaps that every Windows reads).
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
convert "${frames[@]}" "$output"
