#!/bin/bash
# Renders velorand.svg into the PNG sizes the icon theme installs (velorand-<size>.png beside this
# script). Run it after changing the drawing and commit the PNGs. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for size in 32 48 128 256; do
    rsvg-convert --width "$size" --height "$size" "$here/velorand.svg" --output "$here/velorand-$size.png"
done
