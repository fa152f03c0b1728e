#!/usr/bin/env bash
# make_corpus.sh DIR: writes the benchmark's animations into DIR. Screen captures
# (desktop windows with text, scrolling and a moving pointer, few colours, large flat
# areas) and photographic frames (ImageMagick's built-in pictures and synthetic plasma
# and gradients, resized, dithered to 256 colours), 100k to 2M pixels per frame.
# ImageMagick draws the frames; gifsicle assembles and quantizes some of them.
set -euo pipefail

dir=$1
mkdir -p "$dir"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
text=/usr/share/common-licenses/GPL-3
[ -r "$text" ] || text=$(ls /usr/share/common-licenses/* | head -1)

# screen W H FRAMES COLORS NAME: an editor window over a desktop, scrolling one line
# per frame, a second window moving, and a pointer.
screen() {
  local w=$1 h=$2 frames=$3 colors=$4 name=$5 i
  local lines=$(((h - 140) / 16))
  for i in $(seq 0 $((frames - 1))); do
    local shown
    shown=$(sed -n "$((1 + i * 3)),$((i * 3 + lines))p" "$text" | tr -d '%\\\\')
    local px=$((w / 3 + i * 23)) py=$((h / 2 + i * 11)) wx=$((w / 2 + i * 9))
    convert -size "${w}x${h}" xc:'#3a6ea5' \
      -fill '#f3f3f3' -draw "rectangle 40,30 $((w * 3 / 4)),$((h - 40))" \
      -fill '#2b579a' -draw "rectangle 40,30 $((w * 3 / 4)),56" \
      -fill white -font DejaVu-Sans -pointsize 13 -annotate +50+48 "editor - file.txt" \
      -fill '#1e1e1e' -font DejaVu-Sans-Mono -pointsize 12 -annotate +50+80 "$shown" \
      -fill '#dddddd' -stroke '#888888' -draw "rectangle $wx,$((h / 5)) $((wx + w / 3)),$((h / 5 + h / 3))" \
      -stroke none -fill '#0a7d32' -draw "rectangle $((wx + 10)),$((h / 5 + 40)) $((wx + 110)),$((h / 5 + 66))" \
      -fill white -font DejaVu-Sans -pointsize 12 -annotate +$((wx + 30))+$((h / 5 + 58)) "OK" \
      -fill black -stroke white -draw "polygon $px,$py $px,$((py + 18)) $((px + 5)),$((py + 14)) $((px + 12)),$((py + 14))" \
      +dither -colors "$colors" "$work/$name-$i.gif"
  done
  gifsicle --delay 20 --loopcount=forever "$work/$name"-?.gif "$work/$name"-??.gif > "$dir/$name.gif" 2>/dev/null ||
    gifsicle --delay 20 --loopcount=forever "$work/$name"-?.gif > "$dir/$name.gif"
}

# photo SOURCE W H FRAMES NAME: a picture resized, turning and changing hue a little
# per frame, Floyd-Steinberg dithered to 256 colours by ImageMagick.
photo() {
  local source=$1 w=$2 h=$3 frames=$4 name=$5
  convert "$source" -resize "${w}x${h}!" "$work/$name-src.png"
  local args=()
  for i in $(seq 0 $((frames - 1))); do
    args+=(\( "$work/$name-src.png" -distort SRT "$((i * 2))" -modulate 100,$((100 + i * 3)),$((100 + i * 2)) \))
  done
  convert "${args[@]}" -set delay 8 -loop 0 -dither FloydSteinberg -colors 256 "$dir/$name.gif"
}

pids=()
screen 640 480 12 32 screen-640x480 & pids+=($!)
screen 1024 768 8 64 screen-1024x768 & pids+=($!)
screen 1600 1200 4 128 screen-1600x1200 & pids+=($!)
photo rose: 800 520 8 photo-rose-800x520 & pids+=($!)
photo wizard: 530 666 6 photo-wizard-530x666 & pids+=($!)
photo logo: 640 480 6 photo-logo-640x480 & pids+=($!)
for pid in "${pids[@]}"; do wait "$pid"; done

# Synthetic photographic content: plasma and gradients, quantized by gifsicle.
convert -seed 7 -size 1200x900 plasma:fractal -blur 0x1 "$work/plasma.png"
for i in 0 1 2 3 4; do
  convert "$work/plasma.png" -roll +$((i * 40))+$((i * 25)) -modulate 100,100,$((100 + i * 4)) "$work/plasma-$i.gif"
done
gifsicle --no-warnings --colors 256 --dither --delay 10 --loopcount=forever "$work"/plasma-?.gif > "$dir/plasma-1200x900.gif"
convert -size 1000x1000 gradient:'#102040'-'#f0c080' \( -size 1000x1000 radial-gradient:white-black \) \
  -compose multiply -composite -attenuate 0.3 +noise Gaussian "$work/gradient.png"
for i in 0 1 2 3; do
  convert "$work/gradient.png" -rotate $((i * 90)) "$work/gradient-$i.gif"
done
gifsicle --no-warnings --colors 256 --dither --delay 10 "$work"/gradient-?.gif > "$dir/gradient-1000x1000.gif"
gifsicle --interlace "$dir/photo-rose-800x520.gif" > "$dir/photo-rose-interlaced-800x520.gif"
