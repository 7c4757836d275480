#!/usr/bin/env bash
# Makes the test sound, a second and a half of water pouring, the same bytes every time:
# make-sound.sh OUTPUT.WAV
set -euo pipefail
sox -R -n -r 22050 -c 1 -b 16 "$1" synth 1.6 pinknoise \
    band 1400 1200 tremolo 9 35 tremolo 2.5 25 fade q 0.2 1.6 0.45 gain -n -3
