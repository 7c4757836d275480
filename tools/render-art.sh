#!/usr/bin/env bash
# Renders the program's pictures from their SVG sources into PNG files with nothing but the
# pixels (no gamma or colour chunks, so every decoder gives the same 8-bit RGBA):
# render-art.sh ART_DIR OUTPUT_DIR
set -euo pipefail
art=$1 out=$2
mkdir -p "$out"

skin() {  # skin NAME key=value...
    local name=$1 source
    shift
    source=$(cat "$art/skin.svg.in")
    for pair in "$@"; do source=${source//@${pair%%=*}@/${pair#*=}}; done
    printf '%s' "$source" > "$out/$name.svg"
}
skin vista_skin PANEL_LIGHT='#3a3f47' PANEL='#17191d' PANEL_DARK='#050506' EDGE='#000000' \
    SLOT='#1b1e22' ACCENT='#3aa0ff' BUTTON_LIGHT='#5b636e' BUTTON='#22262c' GLYPH='#e8f1fa' \
    TICK='#9fb3c8' MUTE_X=36 MUTE_Y=151
skin classic_skin PANEL_LIGHT='#6aa7ea' PANEL='#2f6fc0' PANEL_DARK='#17407a' EDGE='#0b2750' \
    SLOT='#0f2c55' ACCENT='#ffffff' BUTTON_LIGHT='#8cc0f5' BUTTON='#2a62ad' GLYPH='#ffffff' \
    TICK='#e6f0fb' MUTE_X=36 MUTE_Y=154

close() {
    local source
    source=$(cat "$art/close_button.svg.in")
    source=${source//@LIGHT@/$2}
    source=${source//@DARK@/$3}
    printf '%s' "$source" > "$out/$1.svg"
}
close vista_close '#ff6b6b' '#b3121b'
close vista_close_hot '#ffb3b3' '#e0424a'
cp "$art/knob.svg" "$art/classic_close.svg" "$art/about_background.svg" "$art/about_logo.svg" "$out/"

for svg in "$out"/*.svg; do
    name=$(basename "$svg" .svg)
    rsvg-convert "$svg" -o "$out/$name.rendered.png"
    convert "$out/$name.rendered.png" -strip -define png:compression-level=9 "PNG32:$out/$name.png"
done

# The hand pointer: two 32 x 32 one-bit planes for a monochrome cursor, rows from the top, the
# leftmost pixel in the highest bit. AND plane: 1 where the screen shows through; XOR plane:
# 1 where the cursor is white.
rsvg-convert "$art/hand_cursor.svg" -o "$out/hand_cursor.png"
convert "$out/hand_cursor.png" -alpha extract -threshold 50% -negate -depth 1 "gray:$out/hand_and.bits"
convert "$out/hand_cursor.png" -background black -alpha remove -colorspace gray -threshold 50% \
    -depth 1 "gray:$out/hand_xor.bits"
