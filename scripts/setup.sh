# Sourced by scripts/test and scripts/run: installs the Debian packages the build and
# the tests need (only those missing), and offers configure_and_build.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PACKAGES=(
  g++ cmake ninja-build pkg-config libgtest-dev
  imagemagick
  libjpeg62-turbo-dev libpng-dev
  libgif-dev giflib-tools gifsicle
  # AVI fixtures and the check of exported videos
  ffmpeg
  # shipped GIF files for the peer corpus
  golang-1.19-src libtk8.6 cscope
  qt6-base-dev
  # zip peers: the compressors, archivers and Python's zipfile and its test vectors
  zlib1g-dev libdeflate-dev zip unzip p7zip-full python3 libpython3.11-testsuite
  # faces the glyph rasterizer maps the classic font names to
  fonts-dejavu-core fonts-liberation
)
# Only scripts/screenshot needs these: a virtual screen and a way to photograph it.
SCREENSHOT_PACKAGES=(xvfb xauth imagemagick x11-utils)

install_missing_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
}

# configure_and_build BUILD_DIR BUILD_TYPE [extra cmake arguments...]
configure_and_build() {
  local dir=$1 type=$2
  shift 2
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
  cmake --build "$dir" --parallel "$(nproc)"
}

install_missing_packages "${PACKAGES[@]}"
