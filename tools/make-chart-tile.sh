#!/usr/bin/env bash
# Draws the response-time chart's background tile (279 x 103, 24-bit BMP):
# a dark slate gradient with a faint diagonal weave and darker edges, quiet
# enough for white labels and coloured lines on top. Run it again after
# changing the look and commit the result: resources/chart/ChartTile.bmp.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/resources/chart/ChartTile.bmp}
# Shading shared by the three channels: a diagonal weave, darker edges.
shade='0.012 * (sin((i + j) * 0.9) + sin((i - j) * 0.9))
       - 0.035 * (pow(abs(i / w - 0.5) * 2, 3) + pow(abs(j / h - 0.5) * 2, 3))'
convert -size 279x103 xc:black -colorspace sRGB \
  -channel R -fx "max(0, 0.105 - 0.055 * j / h + $shade)" \
  -channel G -fx "max(0, 0.150 - 0.070 * j / h + $shade)" \
  -channel B -fx "max(0, 0.205 - 0.090 * j / h + $shade)" \
  +channel -type TrueColor "BMP3:$out"
echo "wrote $out"
