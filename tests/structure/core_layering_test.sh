#!/usr/bin/env bash
# The core (console/ and graphics/) reaches the operating system only through the device
# contracts: it may include its own headers, the public headers, the contracts and neutral
# vocabulary of platform/, standard C++ headers and the compiler's vector intrinsics,
# nothing else. The core and the contracts also compile for Windows, after <windows.h>. And
# the programs load no SDL2 when they start: it comes with the module, on first need.
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

# The core and the device contracts build for Windows too: compiled after <windows.h>, whose
# macros (VK_BACK, SHIFT_PRESSED, CTRL_C_EVENT, ...) must meet none of the layer's names.
# Syntax only, for both Windows targets; <windows.h> is precompiled once for each.
windows_syntax_check() {
  local compiler=$1 scratch
  if ! command -v "$compiler" >/dev/null; then
    echo "FAIL: no $compiler (scripts/install-deps.sh installs mingw-w64)"
    return 1
  fi
  scratch=$(mktemp -d)
  echo '#include <windows.h>' >"$scratch/windows_first.h"
  for header in console_device display_driver clock speaker keys code_pages; do
    echo "#include \"platform/$header.h\""
  done >"$scratch/contracts.cpp"
  "$compiler" -std=c++20 -x c++-header "$scratch/windows_first.h" -o "$scratch/windows_first.h.gch" &&
    { ls "$src"/console/*.cpp "$src"/graphics/*.cpp; echo "$scratch/contracts.cpp"; } |
    xargs -P 2 -I{} "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror \
      -include "$scratch/windows_first.h" -I"$src/include" -I"$src" -DTEXTSCREEN_VERSION='"0"' {}
  local status=$?
  rm -rf "$scratch"
  [ "$status" -eq 0 ] || echo "FAIL: the core does not compile after <windows.h> with $compiler"
  return "$status"
}
for compiler in x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix; do
  windows_syntax_check "$compiler" || failures=$((failures + 1))
done

echo "core layering: $failures failures"
[ "$failures" -eq 0 ]
