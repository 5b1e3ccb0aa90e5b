#!/usr/bin/env bash
# Installs every Debian package that building, running, testing and benchmarking need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libgl-dev
  libgif-dev zlib1g-dev
  libxcb1-dev libxcb-res0-dev libxcb-shm0-dev libxcb-xfixes0-dev libxcb-xkb-dev libxcb-keysyms1-dev
  libgstreamer1.0-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-x
  fonts-noto-cjk librsvg2-bin desktop-file-utils appstream groff-base
  xvfb openbox xdotool xclip x11-utils poppler-utils procps
  libbenchmark-dev hyperfine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
