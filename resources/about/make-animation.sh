#!/bin/bash
# Draws the About box animation: two serial lines (TX, RX) whose bits scroll by one bit a frame,
# 9 frames of 100 by 50 at 10 hundredths of a second, looping for ever. Needs ImageMagick 6.
# Usage: make-animation.sh [output.gif]   (default: velorand.gif beside this script)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/velorand.gif}
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

bit=11         # pixels per bit; 9 bits a pattern, one bit of scroll a frame, so frame 9 = frame 0
tx=(0 1 0 1 1 0 0 1 1)
rx=(1 1 0 0 1 0 1 0 0)

# Points of a square wave for the pattern, scrolled by $shift bits, between y levels hi and lo.
wave() {
    local -n bits=$1
    local shift=$2 hi=$3 lo=$4 points="" x=-$((bit * 9)) i level prev=""
    for ((i = 0; x < 100 + bit; i++, x += bit)); do
        level=${bits[$(((i + shift) % 9))]}
        y=$([ "$level" = 1 ] && echo "$hi" || echo "$lo")
        [ -n "$prev" ] && points+="$x,$prev "
        points+="$x,$y "
        prev=$y
    done
    echo "$points"
}

for f in 0 1 2 3 4 5 6 7 8; do
    # The lamp glows and fades over the cycle, so every frame has colours of its own.
    glow=$(( f <= 4 ? 0x30 + f * 0x30 : 0x30 + (9 - f) * 0x30 ))
    led=$(printf '#%02x%02x%02x' $((glow / 4)) "$glow" $((glow / 4)))
    "$convert" -size 100x50 xc: \
        -sparse-color bilinear '0,0 #08163c 99,0 #5a2a84 0,49 #1a7a84 99,49 #6a5a30' \
        -stroke '#3c5a78' -strokewidth 1 -draw "line 0,25 86,25" \
        -fill none -stroke '#ffd040' -strokewidth 2 -draw "polyline $(wave tx "$f" 6 20)" \
        -stroke '#60e0ff' -draw "polyline $(wave rx "$f" 31 45)" \
        -stroke '#0b1d3a' -strokewidth 1 -fill "$led" -draw "circle 94,25 94,29" \
        "$work/frame$f.png"
done

"$convert" -delay 10 -loop 0 -dispose none -strip "$work"/frame[0-8].png "$out"
echo "wrote $out ($(stat -c %s "$out") bytes)"
