#!/usr/bin/env bash
# Renders the picture of the installer's Welcome and Finish pages from its SVG source into the
# 24-bit BMP files NSIS takes, one for each scale the installer chooses from at run time (the
# page's picture is 164 x 314 pixels at 100 %): render-wizard.sh SVG OUTPUT_DIR
# They name OUTPUT_DIR/installer_wizard@SCALE.bmp. A BMP file holds no time: the same source
# gives the same bytes.
set -euo pipefail
svg=$1 out=$2
mkdir -p "$out"
for scale in 100 150 200; do
    rsvg-convert "$svg" -w $((164 * scale / 100)) -h $(((314 * scale + 50) / 100)) \
        -o "$out/installer_wizard@$scale.png"
    convert "$out/installer_wizard@$scale.png" -background white -alpha remove -alpha off \
        -type TrueColor "BMP3:$out/installer_wizard@$scale.bmp"
done
