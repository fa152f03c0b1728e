#!/usr/bin/env bash
# Our optimisers against gifsicle on the gif_codec corpus and screen recordings, all
# made at bench time in a temporary folder. Run by scripts/bench optimize (or this
# script itself, optionally with GIF files instead); ANIMORA_BENCH_BUILD names the
# build folder (default build/bench).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
source "$ROOT/scripts/setup.sh"
install_missing_packages imagemagick gifsicle

BUILD=${ANIMORA_BENCH_BUILD:-$ROOT/build/bench}
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DANIMORA_TESTS=OFF -DANIMORA_BENCH=ON >/dev/null
cmake --build "$BUILD" --target optimize_bench --parallel "$(nproc)" >/dev/null
echo "machine: $(nproc) processors, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"

if [ $# -gt 0 ]; then
  exec "$BUILD/bench/optimize/optimize_bench" "$(command -v gifsicle)" "$@"
fi
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
"$ROOT/bench/gif_codec/make_corpus.sh" "$corpus" &
"$HERE/make_recordings.sh" "$corpus" &
wait
"$BUILD/bench/optimize/optimize_bench" "$(command -v gifsicle)" "$corpus"/*.gif
