#!/usr/bin/env bash
# make_recordings.sh DIR: writes screen recordings as a recorder saves them, every
# frame the whole screen: text typed into a window line by line with a blinking caret
# and a pointer that moves (800x600, 30 frames, one shared table), and a progress bar
# filling in a dialog (640x480, 24 frames, a table per frame).
set -euo pipefail

dir=$1
mkdir -p "$dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1

typing() {
  local i text="" words=(the quick brown fox jumps over the lazy dog while the editor records every key)
  for i in $(seq 0 29); do
    text="$text ${words[$((i % ${#words[@]}))]}"
    [ $((i % 6)) -eq 5 ] && text="$text\n"
    local px=$((200 + i * 7)) py=$((420 - i * 3)) caret=$((i % 2))
    convert -size 800x600 xc:'#2d5f8b' \
      -fill '#fafafa' -draw "rectangle 60,40 740,520" -fill '#3c3c3c' -draw "rectangle 60,40 740,66" \
      -fill white -font DejaVu-Sans -pointsize 13 -annotate +70+58 "notes.txt - editor" \
      -fill '#202020' -font DejaVu-Sans-Mono -pointsize 14 -annotate +72+96 "$(printf "$text")" \
      -fill "$([ $caret -eq 1 ] && echo '#202020' || echo '#fafafa')" -draw "rectangle 700,480 702,496" \
      -fill black -stroke white -draw "polygon $px,$py $px,$((py + 18)) $((px + 5)),$((py + 14)) $((px + 12)),$((py + 14))" \
      "$work/typing-$(printf %02d "$i").png"
  done
  convert -delay 10 -loop 0 "$work"/typing-*.png +dither -colors 64 "$dir/recording-typing-800x600.gif"
}

progress() {
  local i
  for i in $(seq 0 23); do
    convert -size 640x480 gradient:'#406080'-'#203040' \
      -fill '#e8e8e8' -stroke '#808080' -draw "rectangle 120,150 520,330" -stroke none \
      -fill '#1d4f91' -draw "rectangle 120,150 520,176" \
      -fill white -font DejaVu-Sans -pointsize 12 -annotate +130+168 "Copying files" \
      -fill black -annotate +140+210 "file-$((i * 17)).dat  ($((i * 100 / 23))%)" \
      -fill white -stroke '#808080' -draw "rectangle 140,240 500,262" -stroke none \
      -fill '#22a04a' -draw "rectangle 141,241 $((141 + i * 358 / 23)),261" \
      +dither -colors 48 "$work/progress-$(printf %02d "$i").gif"
  done
  gifsicle --delay 8 --loopcount=forever "$work"/progress-*.gif > "$dir/recording-progress-640x480.gif"
}

typing &
progress &
wait
