#!/usr/bin/env bash
# make_seeds.sh KIND DIR SEED_WRITER: writes seed files for the KIND (bmp, jpeg, ico)
# reader harness into DIR: the project's own (SEED_WRITER, fuzz/seed_writer.cpp) and
# ImageMagick's, so that fuzzing starts inside the decoders instead of at their
# signatures. JPEG: baseline, progressive, greyscale, CMYK, restart markers, 4:2:0 and
# 4:4:4. Icons: 1, 4 and 8 bits, 32 bits with alpha, entries stored as PNG. BMP: 1, 4,
# 8 bits, RLE8, 16-bit 5-6-5 and 1-5-5-5, 24 and 32 bits, the older core header.
set -euo pipefail
kind=$1
dir=$2
writer=$3
mkdir -p "$dir"
"$writer" "$kind" "$dir"

export MAGICK_THREAD_LIMIT=1
im() { convert "$@" 2>/dev/null || echo "make_seeds: convert $* failed" >&2; }
picture=(rose: -resize 24x16)
case $kind in
  jpeg)
    im "${picture[@]}" -quality 80 "$dir/im-baseline.jpg"
    im "${picture[@]}" -interlace JPEG "$dir/im-progressive.jpg"
    im "${picture[@]}" -colorspace Gray "$dir/im-grey.jpg"
    im "${picture[@]}" -colorspace CMYK "$dir/im-cmyk.jpg"
    im "${picture[@]}" -colorspace CMYK -interlace JPEG "$dir/im-cmyk-progressive.jpg"
    im "${picture[@]}" -define jpeg:restart-interval=1 "$dir/im-restart.jpg"
    im "${picture[@]}" -sampling-factor 4:2:0 "$dir/im-420.jpg"
    im "${picture[@]}" -sampling-factor 4:4:4 -quality 95 "$dir/im-444.jpg"
    ;;
  ico)
    im "${picture[@]}" -colors 2 -type Palette "$dir/im-1.ico"
    im "${picture[@]}" -colors 16 -type Palette "$dir/im-4.ico"
    im "${picture[@]}" -colors 200 -type Palette "$dir/im-8.ico"
    im "${picture[@]}" -alpha on "$dir/im-32.ico"
    im -size 256x256 gradient:red-blue -define icon:auto-resize=256,16 "$dir/im-png.ico"
    im -size 256x256 gradient:white-black -colors 8 -define icon:auto-resize=256,48,32 "$dir/im-png-several.ico"
    ;;
  bmp)
    im "${picture[@]}" -colors 2 -type Palette BMP3:"$dir/im-1.bmp"
    im "${picture[@]}" -colors 16 BMP3:"$dir/im-4.bmp"
    im "${picture[@]}" -colors 200 BMP3:"$dir/im-8.bmp"
    im "${picture[@]}" -colors 200 -compress RLE BMP3:"$dir/im-rle8.bmp"
    im "${picture[@]}" -define bmp:subtype=RGB565 "$dir/im-565.bmp"
    im "${picture[@]}" -alpha on -define bmp:subtype=ARGB1555 "$dir/im-1555.bmp"
    im "${picture[@]}" -type TrueColor BMP3:"$dir/im-24.bmp"
    im "${picture[@]}" -alpha on "$dir/im-32.bmp"
    im "${picture[@]}" -colors 16 BMP2:"$dir/im-core.bmp"
    ;;
esac
