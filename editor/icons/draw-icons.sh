#!/usr/bin/env bash
# Redraws the tool-bar icons and the program icon with ImageMagick. The PNGs are kept
# in the repository; run this only after changing a drawing here.
set -euo pipefail
cd "$(dirname "$0")"

# icon NAME DRAW-ARGUMENTS... : a 20 by 20 picture on a transparent ground.
icon() {
  local name=$1
  shift
  convert -size 20x20 xc:none -strokewidth 1 "$@" "PNG32:$name.png"
}

INK='#204080'
PAPER='#ffffff'
ACCENT='#e08020'
RED='#c03030'
GREEN='#30a040'

icon create -fill "$PAPER" -stroke "$INK" -draw 'polygon 4,2 12,2 16,6 16,18 4,18' \
  -fill none -draw 'polyline 12,2 12,6 16,6' -stroke "$ACCENT" -strokewidth 2 -draw 'line 7,12 13,12' -draw 'line 10,9 10,15'
icon open -fill '#f0d070' -stroke '#806020' -draw 'polygon 1,5 7,5 9,7 17,7 17,17 1,17' \
  -fill '#f8e8a0' -draw 'polygon 3,10 19,10 17,17 1,17'
icon save -fill "$INK" -stroke '#102040' -draw 'rectangle 2,2 17,17' -fill "$PAPER" -stroke none \
  -draw 'rectangle 5,3 14,8' -fill '#c0c0c0' -draw 'rectangle 5,12 14,17'
icon print -fill '#d0d0d0' -stroke '#404040' -draw 'rectangle 2,8 17,15' -fill "$PAPER" \
  -draw 'rectangle 5,2 14,8' -draw 'rectangle 5,13 14,18' -fill "$GREEN" -stroke none -draw 'rectangle 14,10 15,11'
icon undo -fill none -stroke "$INK" -strokewidth 2 -draw 'arc 4,5 16,17 180,360' -draw 'line 16,11 16,14' \
  -fill "$INK" -strokewidth 1 -draw 'polygon 1,11 7,11 4,6'
icon redo -fill none -stroke "$INK" -strokewidth 2 -draw 'arc 4,5 16,17 180,360' -draw 'line 4,11 4,14' \
  -fill "$INK" -strokewidth 1 -draw 'polygon 13,11 19,11 16,6'
icon cut -fill none -stroke "$INK" -strokewidth 2 -draw 'line 6,2 13,13' -draw 'line 14,2 7,13' \
  -draw 'circle 5,15 7,17' -draw 'circle 15,15 17,17'
icon copy -fill "$PAPER" -stroke "$INK" -draw 'rectangle 2,2 12,13' -draw 'rectangle 7,6 17,17'
icon paste -fill '#b08040' -stroke '#604020' -draw 'rectangle 3,3 15,18' -fill '#c0c0c0' -draw 'rectangle 7,1 11,4' \
  -fill "$PAPER" -stroke "$INK" -draw 'rectangle 9,8 18,18'
icon delete -stroke "$RED" -strokewidth 3 -draw 'line 4,4 16,16' -draw 'line 16,4 4,16'
icon importframe -fill "$PAPER" -stroke "$INK" -draw 'rectangle 6,3 18,17' -fill "$GREEN" -stroke none \
  -draw 'polygon 1,8 7,8 7,5 12,10 7,15 7,12 1,12'
icon exportframe -fill "$PAPER" -stroke "$INK" -draw 'rectangle 1,3 13,17' -fill "$ACCENT" -stroke none \
  -draw 'polygon 8,8 14,8 14,5 19,10 14,15 14,12 8,12'
icon scan -fill '#d0d0d0' -stroke '#404040' -draw 'rectangle 1,9 18,16' -fill '#70c0f0' -stroke none \
  -draw 'rectangle 3,11 16,12' -fill "$INK" -draw 'polygon 4,8 15,8 12,3 7,3'
icon about -fill "$INK" -stroke none -draw 'circle 10,10 10,1' -fill "$PAPER" \
  -draw 'rectangle 9,8 11,15' -draw 'rectangle 9,4 11,6'
icon exit -fill '#a06030' -stroke '#603010' -draw 'rectangle 4,1 14,18' -fill '#f0c000' -stroke none \
  -draw 'circle 12,10 13,10' -fill "$RED" -draw 'polygon 15,7 19,10 15,13'
icon cursor -fill "$PAPER" -stroke '#000000' -draw 'polygon 5,2 5,16 8,13 11,18 13,17 10,12 14,12'
icon select -fill none -stroke '#000000' -strokewidth 1 -draw 'stroke-dasharray 2 2 rectangle 3,3 16,16'
icon getcolor -fill '#c0c0c0' -stroke '#404040' -draw 'polygon 13,2 18,7 9,16 4,11' -fill "$ACCENT" \
  -draw 'polygon 4,11 9,16 4,18 2,16'
icon pen -fill '#f0d070' -stroke '#604020' -draw 'polygon 14,2 18,6 7,17 3,13' -fill '#000000' \
  -draw 'polygon 3,13 7,17 2,18'
icon longpen -fill '#806040' -stroke '#402010' -draw 'polygon 15,1 19,5 12,11 9,8' -fill "$INK" \
  -draw 'polygon 9,8 12,11 8,16 2,18 4,12'
icon line -stroke '#000000' -strokewidth 2 -draw 'line 3,17 17,3'
icon ellipse -fill none -stroke '#000000' -strokewidth 2 -draw 'ellipse 10,10 8,6 0,360'
icon rectangle -fill none -stroke '#000000' -strokewidth 2 -draw 'rectangle 3,5 17,15'
icon fill -fill '#c0c0c0' -stroke '#404040' -draw 'polygon 3,9 10,2 17,9 10,16' -fill "$INK" -stroke none \
  -draw 'polygon 3,9 17,9 10,16' -draw 'circle 17,15 17,18'
icon text -fill "$INK" -stroke none -draw 'polygon 4,3 16,3 16,6 11.5,6 11.5,17 8.5,17 8.5,6 4,6'
icon wizard -stroke '#604020' -strokewidth 2 -draw 'line 3,17 12,8' -fill '#f0c000' -stroke '#a08000' -strokewidth 1 \
  -draw 'polygon 15,1 16,5 19,6 16,7 15,11 14,7 11,6 14,5'
icon importwizard -fill "$PAPER" -stroke "$INK" -draw 'rectangle 1,1 8,8' -draw 'rectangle 11,1 18,8' \
  -draw 'rectangle 6,11 13,18' -stroke "$GREEN" -strokewidth 2 -draw 'line 5,9 8,12' -draw 'line 14,9 11,12'
icon cutwizard -fill "$PAPER" -stroke "$INK" -draw 'rectangle 1,1 18,18' -stroke "$RED" \
  -draw 'stroke-dasharray 2 2 rectangle 5,5 14,14'
icon palette -stroke '#404040' -fill "$RED" -draw 'rectangle 1,1 6,6' -fill "$GREEN" -draw 'rectangle 7,1 12,6' \
  -fill "$INK" -draw 'rectangle 13,1 18,6' -fill '#f0c000' -draw 'rectangle 1,7 6,12' -fill "$ACCENT" \
  -draw 'rectangle 7,7 12,12' -fill '#a040c0' -draw 'rectangle 13,7 18,12' -fill '#000000' \
  -draw 'rectangle 1,13 6,18' -fill '#808080' -draw 'rectangle 7,13 12,18' -fill "$PAPER" -draw 'rectangle 13,13 18,18'
icon extensions -fill "$PAPER" -stroke "$INK" -draw 'rectangle 2,2 17,17' -draw 'line 5,6 14,6' \
  -draw 'line 5,10 14,10' -draw 'line 5,14 11,14'
icon optimize -fill "$GREEN" -stroke none -draw 'rectangle 2,12 5,18' -draw 'rectangle 8,8 11,18' \
  -draw 'rectangle 14,3 17,18'
icon zoomin -fill "$PAPER" -stroke "$INK" -strokewidth 2 -draw 'circle 8,8 8,2' -draw 'line 12,12 18,18' \
  -strokewidth 1 -draw 'line 5,8 11,8' -draw 'line 8,5 8,11'
icon zoomout -fill "$PAPER" -stroke "$INK" -strokewidth 2 -draw 'circle 8,8 8,2' -draw 'line 12,12 18,18' \
  -strokewidth 1 -draw 'line 5,8 11,8'
icon realsize -fill "$PAPER" -stroke "$INK" -strokewidth 2 -draw 'circle 8,8 8,2' -draw 'line 12,12 18,18' \
  -strokewidth 1 -draw 'rectangle 6,6 10,10'

# The extension editor's tree: one icon for each kind of block (a local table and a
# block of no known kind show the palette).
icon graphiccontrol -fill "$PAPER" -stroke "$INK" -draw 'circle 10,11 10,3' -fill none -strokewidth 2 \
  -draw 'line 10,11 10,6' -draw 'line 10,11 14,11' -strokewidth 1 -fill "$INK" -draw 'rectangle 8,1 12,2'
icon plaintext -fill "$PAPER" -stroke "$INK" -draw 'rectangle 2,2 17,17' -fill "$ACCENT" -stroke none \
  -draw 'polygon 5,5 14,5 14,7 10.8,7 10.8,15 8.2,15 8.2,7 5,7'
icon comment -fill '#fff8c0' -stroke '#806020' -draw 'roundrectangle 1,2 18,13 3,3' \
  -draw 'polygon 5,13 9,13 4,18' -stroke none -draw 'rectangle 5,12 8,13' -stroke "$INK" \
  -draw 'line 4,6 15,6' -draw 'line 4,9 12,9'
icon loop -fill none -stroke "$GREEN" -strokewidth 2 -draw 'arc 3,3 17,17 200,520' -fill "$GREEN" \
  -strokewidth 1 -draw 'polygon 1,8 7,8 4,12'
icon application -fill '#d0d0d0' -stroke '#404040' -draw 'rectangle 1,3 18,17' -fill "$INK" -stroke none \
  -draw 'rectangle 2,4 17,6' -fill "$PAPER" -draw 'rectangle 3,8 16,16' -fill "$ACCENT" \
  -draw 'rectangle 5,10 8,13' -draw 'rectangle 10,10 14,11' -draw 'rectangle 10,13 13,14'

# The program icon: three frames of a film strip with a bouncing ball, at 128 pixels.
convert -size 128x128 xc:none -fill '#204080' -draw 'roundrectangle 4,12 123,115 14,14' \
  -fill '#ffffff' -draw 'rectangle 14,28 45,99' -draw 'rectangle 49,28 80,99' -draw 'rectangle 84,28 114,99' \
  -fill '#e08020' -draw 'circle 29,44 29,52' -draw 'circle 64,70 64,78' -draw 'circle 99,88 99,95' \
  -fill '#ffffff' -draw 'rectangle 12,16 20,22' -draw 'rectangle 32,16 40,22' -draw 'rectangle 52,16 60,22' \
  -draw 'rectangle 72,16 80,22' -draw 'rectangle 92,16 100,22' -draw 'rectangle 110,16 116,22' \
  -draw 'rectangle 12,105 20,111' -draw 'rectangle 32,105 40,111' -draw 'rectangle 52,105 60,111' \
  -draw 'rectangle 72,105 80,111' -draw 'rectangle 92,105 100,111' -draw 'rectangle 110,105 116,111' \
  PNG32:animora.png

{
  echo '<!DOCTYPE RCC>'
  echo '<RCC version="1.0">'
  echo ' <qresource prefix="/icons">'
  for f in *.png; do echo "  <file>$f</file>"; done
  echo ' </qresource>'
  echo '</RCC>'
} >icons.qrc
