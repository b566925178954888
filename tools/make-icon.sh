#!/usr/bin/env bash
# Draws the application icon MAINICON: a single 32 x 32 image, a teal tile
# with a white echo trace and a yellow return blip. Needs ImageMagick.
# Usage: tools/make-icon.sh [OUT.ico]   (default resources/MainIcon.ico)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/resources/MainIcon.ico}
convert -size 32x32 xc:none \
  -fill '#0E6E73' -stroke '#0A4A4E' -strokewidth 1 -draw 'roundrectangle 1,1 30,30 6,6' \
  -fill none -stroke white -strokewidth 2 \
  -draw 'polyline 4,18 10,18 13,10 17,25 20,15 22,18 27,18' \
  -fill '#FFD400' -stroke '#FFD400' -strokewidth 1 -draw 'circle 26,9 28,9' \
  -define icon:auto-resize=32 "ICO:$out"
