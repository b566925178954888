#!/usr/bin/env bash
# Draws the five state icons of the notification area into resources/state/,
# each an .ico with 16, 20, 24 and 32 pixel images of at most 16 colours:
#   Idle.ico      a hollow grey ring        (no repeat pinging)
#   Up.ico        a teal disc with a check
#   Slow.ico      a blue hourglass          (echoes, but far slower than usual)
#   Unstable.ico  an amber triangle with "!" (failures, not yet down)
#   Down.ico      a red square with a cross
# The shapes differ without colour; a dark teal edge keeps them apart from
# light and dark taskbars alike. Every size is fitted by hand in the table
# below, pixel for pixel, never scaled. Needs ImageMagick.
# Usage: tools/make-state-icons.sh [OUT_DIR] [PREVIEW.png]
#   PREVIEW: every image, 8 times enlarged, on a light, a dark and a white
#   taskbar, then the same in grey. Run it again after changing the look and
#   commit the results.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/resources/state}
preview=${2:-}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

edge='#0B2F33' grey='#A9BAC1' teal='#1FB5AE' amber='#F5C02A' red='#D0383D' white='#FFFFFF' blue='#4F8FE0'
sizes=(16 20 24 32)

# Per size: the centre, the ring's hole radius, the edge width, the width of
# the check and cross strokes; the check (left, top, steps down, steps up);
# the "!" (left, bar top, bar bottom, dot top, dot bottom, width); the cross
# (inset, steps).
fit() {
  case $1 in
    16) c=7.5 hole=3.5 b=1 w=2 check=(4 7 2 5) bang=(7 5 10 12 13 2) cross=(4 6) ;;
    20) c=9.5 hole=4.5 b=1 w=2 check=(5 9 2 6) bang=(9 6 12 14 15 2) cross=(5 8) ;;
    24) c=11.5 hole=5.5 b=1 w=3 check=(5 10 3 7) bang=(10 7 14 17 19 4) cross=(6 9) ;;
    32) c=15.5 hole=7.5 b=2 w=4 check=(7 13 4 9) bang=(14 9 19 23 26 4) cross=(8 12) ;;
  esac
}

# silhouette SIZE OUT DRAW...: the shape in white on black.
silhouette() {
  local size=$1 file=$2
  shift 2
  convert -size "${size}x${size}" xc:black +antialias -fill white "$@" -alpha off "$file"
}

# shape SIZE FILL SILHOUETTE OUT: the shape in FILL inside an edge of b pixels
# (the silhouette eroded; the border first, so the image's rim gets an edge too).
shape() {
  local size=$1 fill=$2 sil=$3 file=$4
  convert -size "${size}x${size}" xc:"$edge" "$sil" -alpha off -compose CopyOpacity -composite \
    \( -size "${size}x${size}" xc:"$fill" \
       \( "$sil" -compose Over -bordercolor black -border "$b" -morphology Erode "Diamond:$b" -shave "${b}x${b}" \) \
       -alpha off -compose CopyOpacity -composite \) \
    -compose Over -composite "$file"
}

# stroke X Y DX DY STEPS: squares of w pixels stepping along a diagonal, as -draw arguments.
stroke() {
  local i
  for ((i = 0; i <= $5; i++)); do
    local x=$(($1 + i * $3)) y=$(($2 + i * $4))
    printf -- '-draw\nrectangle %d,%d %d,%d\n' "$x" "$y" $((x + w - 1)) $((y + w - 1))
  done
}

draw_size() {
  local s=$1 m=$(($1 - 1))
  fit "$s"
  local disc="circle $c,$c $c,0"
  silhouette "$s" "$tmp/ring.png" -draw "$disc" -fill black -draw "circle $c,$c $c,$(awk "BEGIN{print $c - $hole}")"
  shape "$s" "$grey" "$tmp/ring.png" "$tmp/Idle-$s.png"

  silhouette "$s" "$tmp/disc.png" -draw "$disc"
  shape "$s" "$teal" "$tmp/disc.png" "$tmp/disc-$s.png"
  local x=${check[0]} y=${check[1]} down=${check[2]} up=${check[3]} marks
  mapfile -t marks < <(stroke "$x" "$y" 1 1 "$down"; stroke $((x + down)) $((y + down)) 1 -1 "$up")
  convert "$tmp/disc-$s.png" +antialias -fill "$white" "${marks[@]}" "$tmp/Up-$s.png"

  # The apex is two pixels wide, so the triangle stands on the even grid.
  silhouette "$s" "$tmp/triangle.png" -draw "polygon $((s / 2 - 1)),0 $((s / 2)),0 $m,$m 0,$m"
  shape "$s" "$amber" "$tmp/triangle.png" "$tmp/triangle-$s.png"
  local l=${bang[0]} r=$((bang[0] + bang[5] - 1))
  convert "$tmp/triangle-$s.png" +antialias -fill "$edge" \
    -draw "rectangle $l,${bang[1]} $r,${bang[2]}" -draw "rectangle $l,${bang[3]} $r,${bang[4]}" \
    "$tmp/Unstable-$s.png"

  # Two triangles meeting at a waist two pixels wide, with their sand.
  local h=$((s / 2))
  silhouette "$s" "$tmp/hourglass.png" -draw "polygon 1,0 $((m - 1)),0 $h,$((h - 1)) $((h - 1)),$((h - 1))" \
    -draw "polygon $((h - 1)),$h $h,$h $((m - 1)),$m 1,$m" -draw "rectangle $((h - 1)),$((h - 1)) $h,$h"
  shape "$s" "$blue" "$tmp/hourglass.png" "$tmp/hourglass-$s.png"
  convert "$tmp/hourglass-$s.png" +antialias -fill "$white" \
    -draw "polygon $((h - 2 - b)),$((m - 1 - b)) $((h + 1 + b)),$((m - 1 - b)) $h,$((m - 3 - b - s / 8)) $((h - 1)),$((m - 3 - b - s / 8))" \
    "$tmp/Slow-$s.png"

  silhouette "$s" "$tmp/square.png" -draw "rectangle 1,1 $((m - 1)),$((m - 1))"
  shape "$s" "$red" "$tmp/square.png" "$tmp/square-$s.png"
  local in=${cross[0]} n=${cross[1]}
  mapfile -t marks < <(stroke "$in" "$in" 1 1 "$n"; stroke $((m - in - w + 1)) "$in" -1 1 "$n")
  convert "$tmp/square-$s.png" +antialias -fill "$white" "${marks[@]}" "$tmp/Down-$s.png"
}

for s in "${sizes[@]}"; do draw_size "$s"; done

# Few colours and a one-bit mask: ImageMagick writes 4-bit images with their
# own palette, a few hundred bytes each.
for state in Idle Up Slow Unstable Down; do
  frames=()
  for s in "${sizes[@]}"; do frames+=("$tmp/$state-$s.png"); done
  convert "${frames[@]}" -channel A -threshold 50% +channel -type PaletteAlpha "ICO:$out/$state.ico"
done

if [ -n "$preview" ]; then
  rows=()
  for bg in '#D4D0C8' '#202020' '#FFFFFF'; do
    tiles=()
    for s in "${sizes[@]}"; do
      for state in Idle Up Slow Unstable Down; do
        tiles+=(\( -size 36x36 xc:"$bg" "$tmp/$state-$s.png" -gravity center -composite \))
      done
    done
    convert "${tiles[@]}" +append "$tmp/row-${bg#\#}.png"
    rows+=("$tmp/row-${bg#\#}.png")
  done
  convert "${rows[@]}" -append \( +clone -colorspace Gray \) -append -scale 800% "$preview"
fi
ls -l "$out"/*.ico
