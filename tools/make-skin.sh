#!/usr/bin/env bash
# Draws the compact window's artwork into resources/skin/, all 8-bit RLE BMPs
# except the About picture (24-bit, uncompressed, loaded by the system):
#   Skin.bmp    500 x 300  the skin; outside the outline the key colour R51 G255 B0
#   Start.bmp   158 x 39   START button  } lower-left pixel: the transparent
#   Stop.bmp    158 x 39   STOP button   } colour (the key colour)
#   Notice.bmp  153 x 38   the notice under the chart, opaque
#   Close.bmp   14 x 14    the close symbol, transparent like the buttons
#   About.bmp   425 x 160  the console's About picture
# The outline is drawn row by row below; tools/SkinMask turns Skin.bmp into
# the window's region at build time. Dark slate, teal and white, like the
# chart's tile and the icon. Needs ImageMagick and awk. Run it again after
# changing the look and commit the results.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/resources/skin}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

key='rgb(51,255,0)'
slate_top='#223140' slate_bottom='#111A23'
teal='#17A6A3' teal_dark='#0C6F74' edge='#3C5B6E'
font=DejaVu-Sans font_bold=DejaVu-Sans-Bold

# The outline, one row at a time as runs [left, right); everything else is
# outside. The rows that matter to the window are fixed; see tools/SkinMask.
awk 'BEGIN {
  w = 500; h = 300
  split("11 10 9 8 8 8 8 9 10 11 12 14 16 18 20 22 24 26 27 28", hornLeft, " ")
  split("46 44 43 42 42", lipLeft, " "); split("93 95 96 97 97", lipRight, " ")
  print "P1"; print w, h
  for (y = 0; y < h; y++) {
    n = 0
    if (y == 27) { l[++n] = 12; r[n] = 15 }
    else if (y >= 28 && y <= 47) {
      # the horn: a blade curling up and left from the frame to its tip
      l[++n] = hornLeft[y - 27]; r[n] = 15 + int((y - 27) * 24 / 19 + 0.5)
      # the raised lip on top of the frame
      if (y >= 43) { l[++n] = lipLeft[y - 42]; r[n] = lipRight[y - 42] }
    }
    else if (y >= 48 && y <= 50) { l[++n] = 29; r[n] = 97 }
    else if (y >= 51 && y <= 54) { l[++n] = 29; r[n] = 464 }
    else if (y >= 55 && y <= 166) { l[++n] = 28; r[n] = 464 }
    else if (y >= 167 && y <= 170) { l[++n] = (y <= 168 ? 27 : 26); r[n] = 464 }
    else if (y >= 171 && y <= 226) { l[++n] = 25; r[n] = 464 }
    else if (y == 227) { l[++n] = 26; r[n] = 463 }
    else if (y == 228) { l[++n] = 27; r[n] = 462 }
    else if (y == 229) { l[++n] = 29; r[n] = 460 }
    else if (y >= 230 && y <= 249) {
      # the two tabs, their right edges slanting in by 15 pixels
      d = int(15 * (y - 230) / 19 + 0.5)
      l[++n] = 35; r[n] = 109 - d; l[++n] = 113; r[n] = 188 - d
    }
    else if (y == 299) { l[++n] = 1; r[n] = 500 }
    line = ""
    for (x = 0; x < w; x++) {
      v = 0
      for (i = 1; i <= n; i++) if (x >= l[i] && x < r[i]) v = 1
      line = line (v ? "0 " : "1 ")
    }
    print line
  }
}' >"$tmp/outline.pbm"

# 8-bit RLE with an exact palette: the art is cut to 255 colours first, so
# the key colour stays exact when it is put outside the outline.
save_rle8() { convert "$1" -colors 255 +dither "$tmp/q.png"; convert "$tmp/q.png" "${@:3}" -type Palette -compress RLE "BMP3:$2"; }

# The skin: slate body, teal horn and lip above the frame, a light header
# field for the host label (drawn in the window-text colour), the chart's
# frame, a stat card for the white labels, and the two tabs.
convert -size 500x300 "gradient:$slate_top-$slate_bottom" \
  \( -size 500x51 "gradient:#3CC7C0-$teal_dark" \) -geometry +0+0 -composite \
  \( -size 500x22 "gradient:#1B4C5C-#12303D" \) -geometry +0+229 -composite \
  "$tmp/base.png"
# outside.pbm is white outside the outline; rim.pbm white everywhere but
# one pixel in from it, so the rim paints a light edge along the outline.
convert "$tmp/outline.pbm" -negate "$tmp/outside.pbm"
convert "$tmp/outline.pbm" -morphology Erode Diamond:1 -negate "$tmp/rim.pbm"
convert "$tmp/base.png" \( -size 500x300 "xc:$edge" \) "$tmp/rim.pbm" -composite \
  -stroke none -fill '#0E1A22' -draw 'rectangle 29,75 463,75' \
  -fill '#DCE5EC' -stroke '#9FB2C1' -draw 'roundrectangle 34,54 461,72 4,4' \
  -stroke none -fill "$teal" -draw 'roundrectangle 37,57 80,69 3,3' \
  -font "$font_bold" -pointsize 8 -fill white -annotate +46+66 'HOST' \
  -fill none -stroke '#2C4557' -draw 'rectangle 47,76 321,177' \
  -stroke none -font "$font_bold" -pointsize 11 -fill white -gravity NorthWest -annotate +339+82 'ZENT VORLUMO' \
  -font "$font" -pointsize 9 -fill '#5FD0CB' -annotate +354+98 'ping monitor' \
  -fill none -stroke "$teal" -strokewidth 1.5 -draw 'polyline 334,118 362,118 368,108 375,127 381,113 385,118 450,118' \
  -stroke '#FFD400' -fill '#FFD400' -draw 'circle 450,118 452,118' \
  -strokewidth 1 -fill '#0C141B' -stroke '#2C4557' -draw 'roundrectangle 319,129 460,168 5,5' \
  -stroke none -fill "$teal" -draw 'rectangle 320,135 321,162' \
  -fill '#2A4656' -draw 'rectangle 36,200 41,214' -draw 'rectangle 45,194 50,214' \
  -fill "$teal" -draw 'rectangle 54,188 59,214' -draw 'rectangle 63,182 68,214' \
  -fill '#E3F6F6' -font "$font" -pointsize 9 -annotate +52+234 'About' -annotate +127+234 'Setings' \
  "$tmp/art.png"
save_rle8 "$tmp/art.png" "$tmp/art8.bmp"
convert "$tmp/art8.bmp" \( -size 500x300 "xc:$key" \) "$tmp/outside.pbm" -composite "$tmp/skin.png"
convert "$tmp/skin.png" -type Palette -compress RLE "BMP3:$out/Skin.bmp"

# Picture buttons: drawn smooth over the body's colour, then everything
# outside their shape becomes the key colour.
button() { # name, gradient top, gradient bottom, symbol, label, label x
  convert -size 158x39 "xc:#172430" \
    \( -size 158x39 "gradient:$2-$3" \) \( -size 158x39 xc:black -fill white -draw 'roundrectangle 1,1 156,37 9,9' \) -composite \
    -fill none -stroke 'rgba(255,255,255,0.35)' -draw 'roundrectangle 1,1 156,37 9,9' \
    -stroke none -fill white -draw "$4" \
    -font "$font_bold" -pointsize 13 -annotate "+$6+25" "$5" "$tmp/$1.png"
  convert -size 158x39 xc:black +antialias -fill white -draw 'roundrectangle 0,0 157,38 10,10' "$tmp/$1-shape.png"
  convert "$tmp/$1.png" -colors 255 +dither "$tmp/$1-q.png"
  convert -size 158x39 "xc:$key" "$tmp/$1-q.png" "$tmp/$1-shape.png" -composite \
    -type Palette -compress RLE "BMP3:$out/$1.bmp"
}
button Start '#22B8B3' "$teal_dark" 'polygon 44,12 44,27 57,19.5' START 66
button Stop '#E0625A' '#A3332F' 'rectangle 45,13 56,26' STOP 66

# The notice, opaque: its background is the skin under it (Image3 centres it
# at 91,179 in a 150 x 35 area, so it starts at 90,178).
convert "$tmp/art.png" -crop 153x38+90+178 +repage \
  -fill '#0C141B' -stroke '#2C4557' -draw 'roundrectangle 2,2 150,35 6,6' \
  -stroke none -fill "$teal" -draw 'circle 19,19 19,10' \
  -fill none -stroke white -strokewidth 1.5 -draw 'polyline 12,20 15,20 17,14 20,25 22,18 26,20' \
  -stroke none -fill white -font "$font_bold" -pointsize 9 -annotate +34+16 'ICMP echo monitor' \
  -fill '#8FB4C4' -font "$font" -pointsize 8 -annotate +34+28 'click the average for details' \
  "$tmp/notice.png"
save_rle8 "$tmp/notice.png" "$out/Notice.bmp"

# The close symbol: a coral dot with a white cross, on the header's colour.
convert -size 14x14 'xc:#DCE5EC' -fill '#D9534F' -draw 'circle 6.5,6.5 6.5,0.5' \
  -stroke white -strokewidth 1.6 -draw 'line 4.2,4.2 8.8,8.8' -draw 'line 8.8,4.2 4.2,8.8' "$tmp/close.png"
convert -size 14x14 xc:black +antialias -fill white -draw 'circle 6.5,6.5 6.5,-0.2' "$tmp/close-shape.png"
convert "$tmp/close.png" -colors 255 +dither "$tmp/close-q.png"
convert -size 14x14 "xc:$key" "$tmp/close-q.png" "$tmp/close-shape.png" -composite \
  -type Palette -compress RLE "BMP3:$out/Close.bmp"

# The About picture: the window's colours on a wider banner, 24-bit.
convert -size 425x160 "gradient:$slate_top-$slate_bottom" \
  \( -size 425x6 "gradient:#3CC7C0-$teal_dark" \) -geometry +0+0 -composite \
  -fill none -stroke "$teal" -strokewidth 3 -draw 'polyline 24,112 120,112 138,74 160,142 178,96 190,112 400,112' \
  -stroke '#FFD400' -fill '#FFD400' -strokewidth 1 -draw 'circle 400,112 405,112' \
  -stroke none -fill white -font "$font_bold" -pointsize 30 -annotate +210+62 'Zent Vorlumo' \
  -fill '#5FD0CB' -font "$font" -pointsize 13 -annotate +212+86 'ICMP ping monitor' \
  -fill '#8FB4C4' -font "$font" -pointsize 10 -annotate +24+146 'www.example.com/zent-vorlumo' \
  -type TrueColor "BMP3:$out/About.bmp"
ls -l "$out"
