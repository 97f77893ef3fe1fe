#!/usr/bin/env bash
# Draws the program's bitmaps and icon with ImageMagick: the toolbar strip (24 x 22 pixels per
# button on the mask colour F1F1F1, in the order of the toolbar resource) and the program icon.
set -euo pipefail
out="$1"
mkdir -p "$out/tiles"
bg='#F1F1F1'
tile() { # tile NAME DRAW-ARGS...
  local name="$1"; shift
  convert -size 24x22 "xc:$bg" "$@" "PNG24:$out/tiles/$name.png"
}
arrow_left='polygon 4,11 11,4 11,8 19,8 19,14 11,14 11,18'
arrow_right='polygon 20,11 13,4 13,8 5,8 5,14 13,14 13,18'
tile 01-back -fill '#2F6FBF' -stroke '#1B4A85' -draw "$arrow_left"
tile 02-back-grey -fill '#B8B8B8' -stroke '#909090' -draw "$arrow_left"
tile 03-forward -fill '#2F6FBF' -stroke '#1B4A85' -draw "$arrow_right"
tile 04-forward-grey -fill '#B8B8B8' -stroke '#909090' -draw "$arrow_right"
tile 05-copy -fill white -stroke '#404040' -draw 'rectangle 4,3 13,15' -draw 'rectangle 10,7 19,19'
tile 06-paste -fill '#C8A060' -stroke '#705020' -draw 'rectangle 5,4 17,19' \
  -fill white -stroke '#404040' -draw 'rectangle 10,9 19,20' -fill '#707070' -stroke none -draw 'rectangle 8,2 14,5'
tile 07-add -fill '#2E9E3E' -stroke '#1C6A28' -draw 'rectangle 10,4 14,18' -draw 'rectangle 5,9 19,13'
tile 08-conjugate -stroke '#5A3E8E' -strokewidth 2 -draw 'line 5,6 19,6' -draw 'line 8,11 19,11' -draw 'line 8,16 19,16'
tile 09-numbers -fill '#C0392B' -stroke none \
  -draw 'rectangle 5,5 8,8' -draw 'rectangle 10,5 13,8' -draw 'rectangle 15,5 18,8' \
  -draw 'rectangle 5,10 8,13' -draw 'rectangle 10,10 13,13' -draw 'rectangle 15,10 18,13' \
  -draw 'rectangle 5,15 8,18' -draw 'rectangle 10,15 13,18' -draw 'rectangle 15,15 18,18'
globe=(-fill '#5DADE2' -stroke '#1F618D' -draw 'circle 11,11 11,3' -fill none -draw 'ellipse 11,11 3,8 0,360' -draw 'line 3,11 19,11')
tile 10-web-translate "${globe[@]}"
tile 11-web-examples "${globe[@]}" -fill '#F4D03F' -stroke '#7D6608' -draw 'circle 18,16 18,13' -draw 'line 20,18 22,21'
tile 12-stay-on-top -fill '#E74C3C' -stroke '#922B21' -draw 'circle 12,7 12,3' -stroke '#404040' -strokewidth 2 -draw 'line 12,11 12,20'
tile 13-stop-on-top -fill '#AAAAAA' -stroke '#707070' -draw 'circle 12,7 12,3' -stroke '#404040' -strokewidth 2 -draw 'line 12,11 12,20' \
  -stroke '#C0392B' -draw 'line 4,19 20,3'
tile 14-website -fill '#E59866' -stroke '#873600' -draw 'polygon 3,11 12,3 21,11' -fill '#FAD7A0' -draw 'rectangle 6,11 18,19'
tile 15-help -fill '#2F6FBF' -stroke '#1B4A85' -draw 'circle 12,11 12,3' -fill white -stroke none \
  -draw 'rectangle 11,13 13,15' -draw 'rectangle 11,17 13,18' -draw 'rectangle 9,6 15,8' -draw 'rectangle 13,8 15,11' -draw 'rectangle 11,10 14,12'
convert "$out"/tiles/*.png +append -type TrueColor "BMP3:$out/toolbar.bmp"

# The program icon: an open book, in 32 and 16 pixels.
for s in 32 16; do
  convert -size 32x32 xc:none -fill '#1B4A85' -stroke none -draw 'roundrectangle 1,3 30,28 4,4' \
    -fill white -draw 'polygon 4,7 15,9 15,25 4,23' -draw 'polygon 17,9 28,7 28,23 17,25' \
    -stroke '#2F6FBF' -strokewidth 1 -draw 'line 6,12 13,13' -draw 'line 6,16 13,17' -draw 'line 19,13 26,12' -draw 'line 19,17 26,16' \
    -resize "${s}x${s}" "PNG32:$out/icon$s.png"
done
convert "$out/icon32.png" "$out/icon16.png" "$out/wordmere.ico"
# The pop-up look-up window's logo (45 x 60): the open book of the icon over a pointer arrow.
convert -size 45x60 xc:'#F1F1F1' -fill '#1B4A85' -stroke none -draw 'roundrectangle 3,6 41,38 5,5' \
  -fill white -draw 'polygon 7,11 21,13 21,34 7,32' -draw 'polygon 23,13 37,11 37,32 23,34' \
  -fill '#303030' -stroke white -draw 'polygon 18,36 18,56 23,51 27,58 30,56 26,50 33,49' \
  -type TrueColor "BMP3:$out/hotkeylogo.bmp"
# The dictionary-menu button's icon: a small down-pointing triangle.
convert -size 16x16 xc:none -fill '#303030' -draw 'polygon 3,6 13,6 8,11' "PNG32:$out/dropdown.png"
convert "$out/dropdown.png" "$out/dropdown.ico"
# The splitter bar's cursors: a double arrow across the bar (up and down for a horizontal
# bar, resource 15491; left and right for a vertical one, 15490). ImageMagick writes an icon
# file; the header's type becomes 2 (cursor) and the entry gets the hot spot at the centre.
as_cursor() { # as_cursor PNG CUR
  convert "$1" "ICO:$2"
  python3 - "$2" <<'PY'
import struct, sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
struct.pack_into("<H", data, 2, 2)            # resource type: cursor
struct.pack_into("<HH", data, 6 + 4, 15, 15)  # hot spot in place of planes and bit count
open(path, "wb").write(bytes(data))
PY
}
convert -size 32x32 xc:none -fill black -stroke white \
  -draw 'polygon 15,2 9,9 13,9 13,22 9,22 15,29 21,22 17,22 17,9 21,9' "PNG32:$out/splitns.png"
convert "$out/splitns.png" -rotate 90 "PNG32:$out/splitwe.png"
as_cursor "$out/splitns.png" "$out/splitns.cur"
as_cursor "$out/splitwe.png" "$out/splitwe.cur"
