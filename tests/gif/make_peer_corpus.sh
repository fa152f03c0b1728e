#!/usr/bin/env bash
# make_peer_corpus.sh DIR: writes GIF files made by ImageMagick, gifsicle and giflib's
# own tools into DIR, covering the layouts a reader meets: 1 to 8 bits per pixel,
# interlaced frames, local tables, transparency, disposal 0-3, odd sizes, single and
# many frames, optimised sub-frames. GIF files that installed packages ship under
# /usr/share are linked in as debian-N-NAME.
set -uo pipefail

dir=$1
mkdir -p "$dir"
cd "$dir" || exit 1
# One thread per tool: the jobs themselves run side by side.
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
im=/usr/bin/convert

pids=()
commands=()
job() {
  commands+=("$1")
  bash -c "$1" >/dev/null 2>&1 &
  pids+=($!)
}
wait_jobs() {
  local failed=0
  for i in "${!pids[@]}"; do
    wait "${pids[$i]}" || { echo "corpus command failed: ${commands[$i]}" >&2; failed=1; }
  done
  pids=()
  commands=()
  [ $failed -eq 0 ] || exit 1
}

# Frames of a screen-like animation: a box moving over a white page.
screen_frames=""
for i in $(seq 0 11); do
  x=$((i * 8))
  screen_frames+=" \\( -clone 0 -fill blue -draw 'rectangle $x,10 $((x + 20)),30'"
  screen_frames+=" -fill black -draw 'line 0,$((40 + i)) 119,$((40 + i))' \\)"
done

for colors in 2 4 8 16 32 64 128 256; do
  job "$im rose: -colors $colors im-colors$colors.gif"
done
job "$im rose: -colors 8 -interlace GIF im-interlaced.gif"
job "$im logo: -colors 256 im-logo.gif"
job "$im logo: -colors 256 -interlace GIF im-logo-interlaced.gif"
for height in 1 2 3 4 5 8 9 17; do
  job "$im -size 5x$height gradient:red-blue +dither -remap netscape: -interlace GIF im-interlaced-5x$height.gif"
done
job "$im -size 1x1 xc:green im-1x1.gif"
job "$im -size 3x7 xc:red -fill blue -draw 'point 1 3' im-3x7.gif"
job "$im -size 1000x1 gradient: -colors 64 im-1000x1.gif"
job "$im -size 1x1000 gradient:yellow-navy +dither -remap netscape: im-1x1000.gif"
job "$im -size 40x30 xc:none -fill red -draw 'circle 20 15 20 5' im-transparent.gif"
job "$im -delay 7 -dispose Undefined rose: -dispose None \( rose: -flop \) -dispose Background \( rose: -flip \) \
  -dispose Previous \( rose: -negate \) -loop 3 im-disposal.gif"
job "$im rose: -colors 16 \( rose: -negate -colors 8 \) \( logo: -resize 70x46! -colors 200 \) im-local.gif"
job "$im rose: -duplicate 39 -distort SRT '%[fx:t*9]' +dither -remap netscape: -set delay 3 -loop 0 im-many.gif"
job "$im -size 120x80 xc:white $screen_frames -delete 0 +dither -remap netscape: -set delay 10 -loop 0 im-screen.gif"
job "$im rose: -depth 8 rgb:rose.rgb"
wait_jobs

job "gifsicle -O3 im-many.gif > gs-many-o3.gif"
job "gifsicle -O3 im-screen.gif > gs-screen-o3.gif"
job "gifsicle -O3 --lossy=80 --colors 32 im-disposal.gif > gs-lossy.gif"
job "gifsicle --interlace im-logo.gif > gs-interlaced.gif"
job "gifsicle im-logo.gif im-colors256.gif im-interlaced.gif im-1x1.gif > gs-local.gif"
job "gifsicle --disposal=previous --delay 5 --loopcount=7 --comment 'made by the test' -t '#000000' \
  im-colors4.gif im-colors2.gif > gs-comment.gif"
job "gifsicle --disposal=background --transparent 3 --crop 10,10+31x17 im-colors16.gif im-colors128.gif > gs-crop.gif"
job "giftool -i 1 < im-logo.gif > gl-interlaced.gif"
job "giftool < im-local.gif > gl-local.gif"
job "gifbuild -d im-disposal.gif > disposal.txt && gifbuild disposal.txt > gl-disposal.gif"
for bits in 1 3 6 8; do
  job "gif2rgb -1 -c $bits -s 70 46 rose.rgb > gl-bits$bits.gif"
done
wait_jobs
rm -f rose.rgb disposal.txt

n=0
while IFS= read -r -d '' file; do
  n=$((n + 1))
  ln -s "$file" "debian-$n-$(basename "$file")"
done < <(find /usr/share -type f -iname '*.gif' -size -8M -print0 2>/dev/null | sort -z)
exit 0
