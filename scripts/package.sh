#!/usr/bin/env bash
# Builds the programs and makes the packages users get: the .deb of the Linux build and one
# .zip of both Windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'TXT'
usage: scripts/package.sh [--build-root DIR] [--output DIR]

Installs what is missing, builds the programs (no tests, nothing else) and makes with CPack:
  textscreen_<version>_<arch>.deb   from the release preset, configured for /usr:
                                    tripcost and logvolume in /usr/bin, the SDL module
                                    they load, the README in /usr/share/doc/textscreen
  textscreen-<version>-windows.zip  from the windows-x64 and windows-x86 presets:
                                    x64\ and x86\ with tripcost.exe and logvolume.exe,
                                    and README.txt
then prints the packages' paths.

  --build-root DIR  the folder of the builds, one per preset (default: build)
  --output DIR      where the packages go (default: build/packages)
Build logs are kept in <build root>/<preset>/package.log.
TXT
}

build_root=build
output=build/packages
while [ $# -gt 0 ]; do
  case $1 in
    --build-root) build_root=${2:?--build-root needs a folder} && shift 2 ;;
    --output) output=${2:?--output needs a folder} && shift 2 ;;
    --help | -h) usage && exit 0 ;;
    *) usage >&2 && exit 2 ;;
  esac
done
build_root=$(realpath -m "$build_root")
output=$(realpath -m "$output")

scripts/install-deps.sh
jobs=$(nproc)

# build PRESET TARGETS [CONFIGURE OPTIONS...]: configures the preset in its folder under the
# build root and builds the targets (a space-separated list) alone.
build() {
  local preset=$1 targets=$2 dir=$build_root/$1 started=$SECONDS
  shift 2
  mkdir -p "$dir"
  if ! cmake --preset "$preset" -B "$dir" "$@" >"$dir/package.log" 2>&1; then
    echo "== $preset: configuring failed"
    cat "$dir/package.log"
    exit 1
  fi
  if [ ! -f "$dir/CPackConfig.cmake" ]; then
    echo "== $preset: no CPack configuration: the top-level CMakeLists.txt must include cmake/packaging.cmake"
    exit 1
  fi
  # shellcheck disable=SC2086 # the targets are words
  if ! cmake --build "$dir" -j "$jobs" --target $targets >>"$dir/package.log" 2>&1; then
    echo "== $preset: the build failed"
    cat "$dir/package.log"
    exit 1
  fi
  echo "== $preset: built ($((SECONDS - started)) s)"
}

# package CONFIG: runs cpack and prints the path of the package it made.
package() {
  local log=$output/cpack.log made
  if ! cpack --config "$1" -B "$output" >"$log" 2>&1; then
    echo "== cpack failed on $1"
    cat "$log"
    exit 1
  fi
  made=$(sed -nE 's/^CPack: - package: (.*) generated\.$/\1/p' "$log")
  [ -n "$made" ] || { cat "$log" && exit 1; }
  echo "$made"
}

# The programs look for the SDL module under the install prefix they were built with.
build release "tripcost logvolume textscreen_sdl" -DCMAKE_INSTALL_PREFIX=/usr
build windows-x86 "tripcost logvolume"
build windows-x64 "tripcost logvolume" \
  -DTEXTSCREEN_PACKAGE_X64_BUILD="$build_root/windows-x64" \
  -DTEXTSCREEN_PACKAGE_X86_BUILD="$build_root/windows-x86"

mkdir -p "$output"
rm -f "$output"/textscreen_*.deb "$output"/textscreen-*-windows.zip
package "$build_root/release/CPackConfig.cmake"
package "$build_root/windows-x64/CPackConfig.cmake"
rm -rf "$output/_CPack_Packages" "$output/cpack.log"
