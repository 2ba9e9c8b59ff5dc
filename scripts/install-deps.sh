#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, running and testing need, when missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libvterm-dev tmux
  xvfb evilwm weston x11-utils libgl1-mesa-dri xdotool imagemagick python3
  clang libclang-rt-14-dev
  mingw-w64
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
