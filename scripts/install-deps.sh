#!/usr/bin/env bash
# Installs every Debian package the project needs to build, run and test.
# Idempotent: packages already present are left as they are.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  # libraries the program links or loads
  libcairo2-dev libpango1.0-dev libsdl2-dev libx11-dev libxcb1-dev libpng-dev libjpeg-dev
  libboost-regex-dev libboost-filesystem-dev p7zip-full fonts-dejavu-core fonts-liberation2
  # fixture makers and oracles used by the tests
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 cpp
  unrtf poppler-utils
  python3 python3-pefile python3-numpy python3-scipy python3-pil python3-webcolors python3-svg.path
  # shell helpers the program calls at run time
  xdg-utils
  # a real window for looking at the scene without a desktop, driven by a real pointer
  xvfb xdotool
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
