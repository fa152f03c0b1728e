#!/usr/bin/env bash
# Colour reduction to 256 colours on the same true-colour pictures, in one run:
# ReduceBitmapColors (rdQuantize) against ImageMagick (-colors 256) and pngquant
# (libimagequant), each without and with Floyd-Steinberg dithering. Prints
# megapixels per second and PSNR against the source for each, and our ratios to
# ImageMagick. Run by scripts/bench quantize (or this script itself); ANIMORA_BENCH_BUILD
# names the build folder (default build/bench), RUNS the timed runs (the least processor
# time counts).
# All three run on one thread: ours has one, and the peers' OpenMP threads only made
# them slower on the project's machines.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
source "$ROOT/scripts/setup.sh"
install_missing_packages imagemagick pngquant mate-backgrounds

BUILD=${ANIMORA_BENCH_BUILD:-$ROOT/build/bench}
RUNS=${RUNS:-3}
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DANIMORA_TESTS=OFF -DANIMORA_BENCH=ON >/dev/null
cmake --build "$BUILD" --target quantize_bench --parallel "$(nproc)" >/dev/null
BENCH=$BUILD/bench/quantize/quantize_bench
CORES=$(nproc)
export OMP_NUM_THREADS=1 MAGICK_THREAD_LIMIT=1

WORK=$BUILD/quantize-pictures
mkdir -p "$WORK"
BG=/usr/share/backgrounds/mate
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

# A desktop: a photograph behind windows with title bars, menus, buttons and text.
screen() {
  local out=$1 w=$2 h=$3
  local args=(-size "${w}x${h}" xc: "$BG/nature/Storm.jpg" -resize "${w}x${h}^" -gravity center -extent "${w}x${h}"
              -composite -gravity northwest -font "$FONT")
  args+=(-fill '#2b2b2b' -draw "rectangle 0,0 $w,27" -fill '#e8e8e8' -pointsize 14 -annotate +12+6
         'Applications   Places   System          Thu 10 Dec  12:50')
  local x=$((w / 12)) y=$((h / 9)) ww=$((w / 2)) wh=$((h * 2 / 3)) i
  for i in 0 1; do
    args+=(-fill '#f5f5f0' -stroke '#7a7a7a' -draw "rectangle $x,$y $((x + ww)),$((y + wh))" -stroke none
           -fill '#3465a4' -draw "rectangle $x,$y $((x + ww)),$((y + 24))"
           -fill white -pointsize 13 -annotate "+$((x + 10))+$((y + 4))" "Terminal - window $i")
    local line
    for line in $(seq 0 $(((wh - 40) / 18))); do
      args+=(-fill '#1e1e1e' -pointsize 12 -annotate "+$((x + 10))+$((y + 34 + line * 18))"
             "user@host:~/work\$ make -j8 all  # step $line of the build, target lib$((line * 7 % 13)).a")
    done
    args+=(-fill '#d3d7cf' -draw "roundrectangle $((x + ww - 90)),$((y + wh - 34)) $((x + ww - 10)),$((y + wh - 8)) 4,4"
           -fill black -annotate "+$((x + ww - 70))+$((y + wh - 30))" 'Close')
    x=$((x + w / 3)); y=$((y + h / 8))
  done
  args+=("$BG/nature/LadyBird.jpg" -geometry "$((w / 5))x$((h / 5))+$((w * 3 / 4 - 20))+$((h / 20))" -composite)
  convert "${args[@]}" -depth 8 "$out"
}

prepare() {
  local name=$1
  [ -s "$WORK/$name.ppm" ] && return 0
  case $name in
    meadow) convert "$BG/nature/GreenMeadow.jpg" -resize 50% -depth 8 "$WORK/$name.ppm" ;;
    dune) convert "$BG/nature/Dune.jpg" -depth 8 "$WORK/$name.ppm" ;;
    wood) convert "$BG/nature/Wood.jpg" -depth 8 "$WORK/$name.ppm" ;;
    elephants) convert "$BG/abstract/Elephants_3840x2160.jpg" -gravity center -crop 3840x2080+0+0 +repage \
                 -depth 8 "$WORK/$name.ppm" ;;
    screen-small) screen "$WORK/$name.ppm" 1024 768 ;;
    screen-hd) screen "$WORK/$name.ppm" 1920 1080 ;;
  esac
  convert "$WORK/$name.ppm" "$WORK/$name.png"
}

calc() { awk "BEGIN { printf \"%.6f\", $1 }"; }
# The least processor time (user and system) of RUNS runs of a command, in seconds.
fastest() {
  local best=1e30 i t TIMEFORMAT='%3U %3S'
  for i in $(seq "$RUNS"); do
    t=$({ time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2 }')
    best=$(calc "$t < $best ? $t : $best")
  done
  echo "$best"
}

# row NAME MP OUR_T OUR_PSNR IM_T IM_PSNR PQ_T PQ_PSNR: one line of a table.
row() {
  printf '%-13s %5.2f | %7.1f %6.2f | %7.1f %6.2f | %7.1f %6.2f | %6.2fx %+6.2f' "$1" "$2" \
    "$(calc "$2 / $3")" "$4" "$(calc "$2 / $5")" "$6" "$(calc "$2 / $7")" "$8" "$(calc "$5 / $3")" "$(calc "$4 - $6")"
}
table() {
  printf '\n== %s\n' "$1"
  printf '%-13s %5s | %-14s | %-14s | %-14s | %s\n' picture MP ours ImageMagick pngquant ours/ImageMagick
  printf '%-13s %5s | %-14s | %-14s | %-14s | %s\n' "" "" "MP/s   PSNR" "MP/s   PSNR" "MP/s   PSNR" "speed  PSNR dB"
  shift
  printf '%s\n' "$@"
}

echo "machine: $CORES cores, $(lscpu | sed -n 's/^Model name: *//p' | head -n 1); $(convert -version | head -n 1 | cut -d' ' -f2-3), pngquant $(pngquant --version | cut -d' ' -f1)"
echo "One thread each. ImageMagick: its quantization alone (a plain PPM-to-PPM copy is subtracted); pngquant: with"
echo "its PNG reading and writing; ours: ReduceBitmapColors in process. MP/s: megapixels per second of processor time"
echo "(user and system), the least of $RUNS runs; PSNR in dB against the source."
rows_none=()
rows_fs=()
for name in meadow screen-small dune screen-hd wood elephants; do
  prepare "$name"
  src=$WORK/$name.ppm
  mp=$(identify -format '%[fx:w*h/1000000]' "$src")
  mapfile -t ours < <("$BENCH" reduce "$src" "$RUNS")
  read -r _ our_t our_p <<<"${ours[0]}"
  read -r _ our_fs_t our_fs_p <<<"${ours[1]}"
  copy_t=$(fastest convert "$src" "$WORK/copy.ppm")
  im_t=$(fastest convert "$src" -dither None -colors 256 "$WORK/im.ppm")
  im_fs_t=$(fastest convert "$src" -dither FloydSteinberg -colors 256 "$WORK/im-fs.ppm")
  im_t=$(calc "$im_t - $copy_t")
  im_fs_t=$(calc "$im_fs_t - $copy_t")
  pq_t=$(fastest pngquant 256 --nofs --force --output "$WORK/pq.png" "$WORK/$name.png")
  pq_fs_t=$(fastest pngquant 256 --force --output "$WORK/pq-fs.png" "$WORK/$name.png")
  convert "$WORK/pq.png" -depth 8 "$WORK/pq.ppm"
  convert "$WORK/pq-fs.png" -depth 8 "$WORK/pq-fs.ppm"
  im_p=$("$BENCH" psnr "$src" "$WORK/im.ppm")
  im_fs_p=$("$BENCH" psnr "$src" "$WORK/im-fs.ppm")
  pq_p=$("$BENCH" psnr "$src" "$WORK/pq.ppm")
  pq_fs_p=$("$BENCH" psnr "$src" "$WORK/pq-fs.ppm")
  rows_none+=("$(row "$name" "$mp" "$our_t" "$our_p" "$im_t" "$im_p" "$pq_t" "$pq_p")")
  rows_fs+=("$(row "$name" "$mp" "$our_fs_t" "$our_fs_p" "$im_fs_t" "$im_fs_p" "$pq_fs_t" "$pq_fs_p")")
done
table "no dithering" "${rows_none[@]}"
table "Floyd-Steinberg" "${rows_fs[@]}"
