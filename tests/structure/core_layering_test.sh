#!/usr/bin/env bash
# The core (console/ and graphics/) reaches the operating system only through the device
# contracts: it may include its own headers, the public headers, the contracts and neutral
# vocabulary of platform/, standard C++ headers and the compiler's vector intrinsics,
# nothing else. And the programs load no SDL2 when they start: it comes with the module, on
# first need.
# Usage: core_layering_test.sh SOURCE_DIR BIN_DIR
set -u
src=$1/textscreen
bin=${2:-}
allowed_platform='platform/(console_device|display_driver|clock|speaker|keys|code_pages|code_pages_generated)\.h'
failures=0

while IFS= read -r line; do
  file=${line%%:*}
  header=$(sed -E 's/^[^:]*:[0-9]+:#include ([<"][^>"]*[>"]).*/\1/' <<<"$line")
  case $header in
    \"console/*|\"graphics/*|\"textscreen/*) continue ;;
    \"platform/*) [[ $header =~ ^\"$allowed_platform\"$ ]] && continue ;;
    # Standard C++ headers have plain names: no folder, no ".h". The processor's vector
    # instructions are the compiler's, not the operating system's.
    \<*) [[ $header =~ ^\<[a-z_]+\>$ || $header == "<immintrin.h>" ]] && continue ;;
  esac
  echo "FAIL: ${line%%#*} includes $header, which the core may not"
  failures=$((failures + 1))
done < <(grep -n -E '^#include' -r "$src/console" "$src/graphics" | sed "s#^$src/##")

if [ -n "$bin" ] && [ -x "$bin/tripcost" ]; then
  for program in tripcost logvolume; do
    if ldd "$bin/$program" | grep -q -i sdl; then
      echo "FAIL: $program links SDL2 at start"
      failures=$((failures + 1))
    fi
  done
fi

echo "core layering: $failures failures"
[ "$failures" -eq 0 ]
