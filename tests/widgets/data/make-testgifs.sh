#!/bin/bash
# Makes the small GIFs the animator tests read. Needs ImageMagick 6.
#   frames.gif: 4 frames of 4 by 4, red, green, blue, white, with delays of 2, 25, 2000 and 0
#               hundredths of a second (below, inside, above the allowed range, and none).
#   still.gif:  one grey frame.
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
"$convert" -delay 2 -size 4x4 xc:red -delay 25 xc:lime -delay 2000 xc:blue -delay 0 xc:white \
    -loop 0 -strip frames.gif
"$convert" -size 4x4 xc:gray -strip still.gif
