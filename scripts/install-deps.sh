#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that building, running and testing need, when missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libvterm-dev tmux
  xvfb evilwm weston x11-utils libgl1 libgl1-mesa-dri xdotool imagemagick python3
  clang libclang-rt-14-dev strace unzip
  mingw-w64 wine wine64
)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# 32-bit Wine runs the 32-bit Windows build; it needs the i386 architecture, and OpenGL for
# the OpenGL driver's tests. Where it cannot be had, the tests of that build are skipped, and
# say so.
packages_i386=(wine32:i386 libgl1:i386 libgl1-mesa-dri:i386)
missing_i386=()
for p in "${packages_i386[@]}"; do
  installed "$p" || missing_i386+=("$p")
done
if [ ${#missing_i386[@]} -gt 0 ]; then
  echo "Installing: ${missing_i386[*]}"
  { "${sudo_cmd[@]}" dpkg --add-architecture i386 &&
    "${sudo_cmd[@]}" apt-get update -q &&
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing_i386[@]}"; } ||
    echo "${missing_i386[*]} could not be installed: the 32-bit Windows build will not be tested"
fi
