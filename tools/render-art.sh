#!/usr/bin/env bash
# Renders the program's pictures from their SVG sources into PNG files with nothing but the
# pixels (no gamma or colour chunks, so every decoder gives the same 8-bit RGBA):
# render-art.sh ART_DIR OUTPUT_DIR "SCALES" "CURSOR_SIZES" (the percentages above 100 and the
# pointer's sizes in pixels, each a space-separated list)
set -euo pipefail
art=$1 out=$2 scales=$3 cursor_sizes=$4
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

# A side of N pixels at 96 DPI at SCALE percent, halves to the even neighbour as the program's
# layout rounds: side N SCALE
side() {
    local twice=$(($1 * $2 / 50)) half
    half=$((twice / 2))
    if [ $((twice % 2)) = 1 ] && [ $((half % 2)) = 1 ]; then half=$((half + 1)); fi
    echo "$half"
}

# Every picture at 100 percent and at each of the scales, drawn from its source at each size.
# Every byte counts (the program stays below 700 KiB): the PNG files are packed again with
# zopflipng, losslessly, and the About box's background above 100 percent, opaque and
# photographic, is kept as a JPEG (a PNG of it at 200 percent alone would cost 95 KB).
for svg in "$out"/*.svg; do
    name=$(basename "$svg" .svg)
    read -r width height < <(sed -n 's/^<svg[^>]* width="\([0-9]*\)" height="\([0-9]*\)".*/\1 \2/p' "$svg")
    for scale in 100 $scales; do
        suffix=$([ "$scale" = 100 ] || echo "@$scale")
        rsvg-convert "$svg" -w "$(side "$width" "$scale")" -h "$(side "$height" "$scale")" \
            -o "$out/$name$suffix.rendered.png"
        if [ "$name" = about_background ] && [ "$scale" != 100 ]; then
            convert "$out/$name$suffix.rendered.png" -strip -quality 85 -sampling-factor 1x1 \
                "$out/$name$suffix.jpg"
            continue
        fi
        convert "$out/$name$suffix.rendered.png" -strip -define png:compression-level=9 \
            "PNG32:$out/$name$suffix.png"
        zopflipng -y "$out/$name$suffix.png" "$out/$name$suffix.png" >/dev/null
    done
done

# The hand pointer at each of the sizes (those Windows gives a cursor at 100 to 300 percent): two
# one-bit planes of SIZE x SIZE pixels each for a monochrome cursor, rows from the top, the leftmost pixel in
# the highest bit. AND plane: 1 where the screen shows through; XOR plane: 1 where the cursor is
# white.
for size in $cursor_sizes; do
    rsvg-convert "$art/hand_cursor.svg" -w "$size" -h "$size" -o "$out/hand_cursor_$size.png"
    convert "$out/hand_cursor_$size.png" -alpha extract -threshold 50% -negate -depth 1 \
        "gray:$out/hand_and_$size.bits"
    convert "$out/hand_cursor_$size.png" -background black -alpha remove -colorspace gray \
        -threshold 50% -depth 1 "gray:$out/hand_xor_$size.bits"
done
