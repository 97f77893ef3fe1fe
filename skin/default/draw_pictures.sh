#!/usr/bin/env bash
# Draws the default skin's pictures with ImageMagick: 24-bit BMPs with a 40-byte header,
# magenta (#FF00FF) where a picture is transparent. Positions here are the ones skin.txt names.
# Usage: draw_pictures.sh OUTPUT-FOLDER
set -euo pipefail
out="$1"
mkdir -p "$out"
convert="${CONVERT:-convert}"
key='#FF00FF'
caption='#2F5D8C' caption_light='#4A78A8' caption_dark='#234A70'
grey='#8A97A6' grey_light='#A3AEBB'
client='#F4F6F8' face='#E9EDF2' line='#9AA8B8' text='#1E2A36' hot='#DCE6F0' pressed='#C9D6E3'

bmp() { # bmp NAME SIZE BACKGROUND DRAW-ARGS...
  local name="$1" size="$2" bg="$3"; shift 3
  "$convert" -size "$size" "xc:$bg" +antialias "$@" -type TrueColor "BMP3:$out/$name.bmp"
}

# Frames of 200 x 100: a 28-pixel caption with rounded top corners, 4-pixel borders.
frame() { # frame NAME COLOUR LIGHT
  bmp "$1" 200x100 "$key" -fill "$2" -stroke none -draw 'roundrectangle 0,0 199,140 6,6' \
    -fill "$3" -draw 'line 6,1 193,1' -fill "$client" -draw 'rectangle 4,28 195,95'
}
frame frame_active "$caption" "$caption_light"
frame frame_inactive "$grey" "$grey_light"

# The pop-up window's frame, 100 x 60: a 20-pixel caption, 2-pixel borders.
bmp popup_frame 100x60 "$caption" -fill "$caption_light" -draw 'line 1,1 98,1' -fill "$client" -draw 'rectangle 2,20 97,57'

# Caption buttons 20 x 18 (close, maximise, minimise) in rows normal, hover, pressed, disabled.
cells=()
for row in 0 1 2 3; do
  y=$((row * 18)); glyph=white; back=none
  case $row in 1) back="$caption_light" ;; 2) back="$caption_dark" ;; 3) glyph='#B8C4D0' ;; esac
  for col in 0 1 2; do
    x=$((col * 20))
    [ "$back" != none ] && cells+=(-fill "$back" -stroke none -draw "roundrectangle $((x+1)),$((y+1)) $((x+18)),$((y+16)) 3,3")
    case $col in
      0) cells+=(-stroke "$glyph" -strokewidth 2 -draw "line $((x+6)),$((y+5)) $((x+13)),$((y+12))" -draw "line $((x+13)),$((y+5)) $((x+6)),$((y+12))") ;;
      1) cells+=(-stroke "$glyph" -strokewidth 1 -fill none -draw "rectangle $((x+5)),$((y+4)) $((x+14)),$((y+13))" -draw "line $((x+5)),$((y+5)) $((x+14)),$((y+5))") ;;
      2) cells+=(-stroke "$glyph" -strokewidth 2 -draw "line $((x+5)),$((y+12)) $((x+14)),$((y+12))") ;;
    esac
  done
done
bmp caption_buttons 60x72 "$key" "${cells[@]}"

# Menu bar: background strip, hot item, open item (30 x 20 each).
bmp menubar 90x20 "$face" -fill "$line" -draw 'line 0,19 29,19' \
  -fill "$hot" -stroke '#A9C0D8' -draw 'roundrectangle 30,0 59,19 3,3' \
  -fill "$caption" -stroke "$caption" -draw 'roundrectangle 60,0 89,19 3,3'

# Push buttons 60 x 22: normal, pressed, default, focused, hover, disabled (top to bottom).
looks=("$face $line" "$pressed #6F86A0" "$face $caption" "#EEF4FA $caption" "$hot #7F97B2" "#F2F2F2 #C8C8C8")
args=()
for i in 0 1 2 3 4 5; do
  read -r fill stroke <<<"${looks[$i]}"; y=$((i * 22))
  args+=(-fill "$fill" -stroke "$stroke" -draw "roundrectangle 0,$y 59,$((y+21)) 3,3")
  [ "$i" -eq 2 ] && args+=(-fill none -draw "roundrectangle 1,$((y+1)) 58,$((y+20)) 3,3")
done
bmp button 60x132 "$key" "${args[@]}"

# Tick boxes 13 x 13: unchecked, checked, disabled unchecked, disabled checked, hot unchecked, hot checked.
ticks() { # ticks NAME SHAPE
  local a=() i x fill stroke mark
  for i in 0 1 2 3 4 5; do
    x=$((i * 13)); fill=white; stroke="$line"; mark="$caption"
    case $i in 2|3) fill='#F2F2F2'; stroke='#C8C8C8'; mark='#A0A0A0' ;; 4|5) fill="$hot"; stroke="$caption" ;; esac
    if [ "$2" = box ]; then
      a+=(-fill "$fill" -stroke "$stroke" -draw "rectangle $x,0 $((x+12)),12")
      [ $((i % 2)) -eq 1 ] && a+=(-stroke "$mark" -strokewidth 2 -draw "line $((x+3)),6 $((x+5)),9" -draw "line $((x+5)),9 $((x+10)),3" -strokewidth 1)
    else
      a+=(-fill "$fill" -stroke "$stroke" -draw "circle $((x+6)),6 $((x+6)),0")
      [ $((i % 2)) -eq 1 ] && a+=(-fill "$mark" -stroke none -draw "circle $((x+6)),6 $((x+6)),3")
    fi
  done
  bmp "$1" 78x13 "$key" "${a[@]}"
}
ticks check box
ticks radio circle

# Fields 20 x 20 (edit border, then a disabled one at x 88), drop buttons 17 x 20 (normal, hot, pressed, disabled).
drop=()
states=("$face $text" "$hot $text" "$pressed $text" "#F2F2F2 #A0A0A0")
for i in 0 1 2 3; do
  read -r fill arrow <<<"${states[$i]}"; x=$((20 + i * 17))
  drop+=(-fill "$fill" -stroke "$line" -draw "rectangle $x,0 $((x+16)),19" -fill "$arrow" -stroke none -draw "polygon $((x+4)),8 $((x+12)),8 $((x+8)),12")
done
bmp field 108x20 white -fill white -stroke "$line" -draw 'rectangle 0,0 19,19' "${drop[@]}" \
  -fill '#F2F2F2' -stroke '#C8C8C8' -draw 'rectangle 88,0 107,19'

# Scroll bars, 16 x 16 cells: rows normal, pressed, hot, disabled; columns left, right, horizontal
# track, horizontal thumb, up, down, vertical track, vertical thumb, size box.
sb=()
rows=("$face $line #B7C3D0 #5A6B7D" "$pressed #6F86A0 #8FA3B8 #1E2A36" "$hot #7F97B2 #9FB2C6 #2F5D8C" "#F2F2F2 #D0D0D0 #E0E0E0 #B0B0B0")
for r in 0 1 2 3; do
  read -r fill stroke thumb arrow <<<"${rows[$r]}"; y=$((r * 16))
  sb+=(-fill "$fill" -stroke "$stroke" -draw "rectangle 0,$y 15,$((y+15))" -draw "rectangle 16,$y 31,$((y+15))" \
       -draw "rectangle 64,$y 79,$((y+15))" -draw "rectangle 80,$y 95,$((y+15))" \
       -fill "$arrow" -stroke none -draw "polygon 5,$((y+8)) 10,$((y+4)) 10,$((y+12))" -draw "polygon 26,$((y+8)) 21,$((y+4)) 21,$((y+12))" \
       -draw "polygon 68,$((y+10)) 72,$((y+5)) 76,$((y+10))" -draw "polygon 84,$((y+6)) 88,$((y+11)) 92,$((y+6))" \
       -fill '#F0F2F5' -draw "rectangle 32,$y 47,$((y+15))" -draw "rectangle 96,$y 111,$((y+15))" \
       -fill "$thumb" -stroke "$stroke" -draw "roundrectangle 48,$((y+2)) 63,$((y+13)) 3,3" -draw "roundrectangle 114,$y 125,$((y+15)) 3,3")
done
bmp scroll 144x64 "$key" "${sb[@]}" -fill '#F0F2F5' -stroke none -draw 'rectangle 128,0 143,15' \
  -fill "$line" -draw 'point 140,12' -draw 'point 137,12' -draw 'point 140,9'

# Group box frame 20 x 20: a rounded outline, transparent inside.
bmp group 20x20 "$key" -fill none -stroke "$line" -draw 'roundrectangle 0,0 19,19 3,3'

# Progress: trough and bar, 20 x 16.
bmp progress 40x16 white -fill white -stroke "$line" -draw 'rectangle 0,0 19,15' \
  -fill '#3C8D5A' -stroke '#2E6E45' -draw 'rectangle 20,0 39,15'
# Trackbar: channel 20 x 6 and thumb 11 x 20.
bmp slider 31x20 "$key" -fill '#D5DCE4' -stroke "$line" -draw 'rectangle 0,0 19,5' \
  -fill "$caption" -stroke "$caption_dark" -draw 'roundrectangle 20,0 30,19 2,2'

# Tabs 40 x 22: normal, highlighted, selected, disabled; then the page, 20 x 22.
bmp tabs 180x22 "$key" -fill "$face" -stroke "$line" -draw 'roundrectangle 0,2 39,30 3,3' \
  -fill "$hot" -draw 'roundrectangle 40,2 79,30 3,3' -fill white -draw 'roundrectangle 80,0 119,30 3,3' \
  -fill '#F2F2F2' -stroke '#C8C8C8' -draw 'roundrectangle 120,2 159,30 3,3' \
  -fill white -stroke "$line" -draw 'rectangle 160,0 179,21'

# Bars, cells 20 x 24: tool bar, status bar, status panel, header, header item, rebar, band,
# control bar; then tool buttons 24 x 24: normal, hot, pressed, disabled.
bmp bars 256x24 "$face" -fill "$face" -stroke none -draw 'rectangle 0,0 19,23' -fill "$line" -draw 'line 0,23 19,23' \
  -fill '#DDE3EA' -draw 'rectangle 20,0 39,23' -fill "$line" -draw 'line 20,0 39,0' \
  -fill '#DDE3EA' -stroke "$line" -draw 'rectangle 40,2 59,21' \
  -fill "$face" -stroke none -draw 'rectangle 60,0 79,23' \
  -fill "$face" -stroke "$line" -draw 'rectangle 80,0 99,23' \
  -fill "$face" -stroke none -draw 'rectangle 100,0 119,23' \
  -fill "$face" -stroke "$line" -draw 'rectangle 120,1 139,22' \
  -fill "$face" -stroke none -draw 'rectangle 140,0 159,23' \
  -fill "$face" -stroke none -draw 'rectangle 160,0 183,23' \
  -fill "$hot" -stroke '#A9C0D8' -draw 'roundrectangle 184,0 207,23 3,3' \
  -fill "$pressed" -stroke '#6F86A0' -draw 'roundrectangle 208,0 231,23 3,3' \
  -fill "$face" -stroke none -draw 'rectangle 232,0 255,23'

# Popup menu frame 20 x 20 (2-pixel border), hot item, separator, check mark 12 x 12, submenu
# arrow 8 x 8; tooltip frame 20 x 20 (1-pixel border).
bmp menus 100x20 "$key" -fill white -stroke "$line" -draw 'rectangle 0,0 19,19' \
  -fill "$hot" -stroke '#A9C0D8' -draw 'roundrectangle 20,0 39,19 3,3' \
  -fill white -stroke none -draw 'rectangle 40,0 59,4' -fill "$line" -draw 'line 40,2 59,2' \
  -stroke "$caption" -strokewidth 2 -draw 'line 62,6 65,9' -draw 'line 65,9 70,3' -strokewidth 1 \
  -fill "$text" -stroke none -draw 'polygon 74,0 78,4 74,8' \
  -fill '#FFFFF4' -stroke '#5A6B7D' -draw 'rectangle 80,0 99,19'

# Up-down buttons: rows normal, hot, pressed, disabled; up and down 16 x 10, left and right 10 x 16.
sp=()
rows=("$face $text" "$hot $text" "$pressed $text" "#F2F2F2 #A0A0A0")
for r in 0 1 2 3; do
  read -r fill arrow <<<"${rows[$r]}"; y=$((r * 16))
  sp+=(-fill "$fill" -stroke "$line" -draw "rectangle 0,$y 15,$((y+9))" -draw "rectangle 16,$y 31,$((y+9))" \
       -draw "rectangle 32,$y 41,$((y+15))" -draw "rectangle 42,$y 51,$((y+15))" \
       -fill "$arrow" -stroke none -draw "polygon 5,$((y+6)) 8,$((y+3)) 11,$((y+6))" -draw "polygon 21,$((y+3)) 24,$((y+6)) 27,$((y+3))" \
       -draw "polygon 38,$((y+5)) 35,$((y+8)) 38,$((y+11))" -draw "polygon 45,$((y+5)) 48,$((y+8)) 45,$((y+11))")
done
bmp spin 52x64 "$key" "${sp[@]}"

# Month calendar title buttons 16 x 16: previous normal, pressed, disabled, next normal, pressed, disabled.
cal=()
for i in 0 1 2 3 4 5; do
  x=$((i * 16)); fill="$face"; arrow="$text"
  case $((i % 3)) in 1) fill="$pressed" ;; 2) fill='#F2F2F2'; arrow='#A0A0A0' ;; esac
  if [ "$i" -lt 3 ]; then tri="polygon $((x+10)),3 $((x+5)),8 $((x+10)),13"; else tri="polygon $((x+5)),3 $((x+10)),8 $((x+5)),13"; fi
  cal+=(-fill "$fill" -stroke "$line" -draw "roundrectangle $x,0 $((x+15)),15 3,3" -fill "$arrow" -stroke none -draw "$tri")
done
bmp calendar 96x16 "$key" "${cal[@]}"
