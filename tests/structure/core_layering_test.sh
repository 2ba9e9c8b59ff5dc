#!/usr/bin/env bash
# The core (console/ and graphics/) reaches the operating system only through the device
# contracts: it may include its own headers, the public headers, the contracts and neutral
# vocabulary of platform/, standard C++ headers and the compiler's vector intrinsics,
# nothing else. The core's headers and the contracts also compile after <windows.h>. And
# the programs load no SDL2 when they start: it comes with the module, on first need.
# Usage: core_layering_test.sh SOURCE_DIR BIN_DIR
set -u
src=$1/textscreen
bin=${2:-}
allowed_platform='platform/(console_device|display_driver|clock|speaker|keys|code_pages|code_pages_generated)\.h'
failures=0

while IFS= read -r line; do
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

# The core's headers and the device contracts build for Windows too: the Windows devices and
# tests include them after <windows.h>, whose macros (VK_BACK, SHIFT_PRESSED, CTRL_C_EVENT,
# ...) must meet none of the layer's names. (The core's own sources never follow <windows.h>,
# and the Windows builds compile them for real.) Syntax only, every header after <windows.h>
# in one translation unit.
windows_syntax_check() {
  local compiler=$1 scratch header
  if ! command -v "$compiler" >/dev/null; then
    echo "FAIL: no $compiler (scripts/install-deps.sh installs mingw-w64)"
    return 1
  fi
  scratch=$(mktemp -d)
  {
    echo '#include <windows.h>'
    for header in "$src"/console/*.h "$src"/graphics/*.h \
      "$src"/platform/{console_device,display_driver,clock,speaker,keys,code_pages}.h; do
      echo "#include \"${header#"$src"/}\""
    done
  } >"$scratch/core_after_windows.cpp"
  "$compiler" -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I"$src/include" \
    -I"$src" -DTEXTSCREEN_VERSION='"0"' "$scratch/core_after_windows.cpp"
  local status=$?
  rm -rf "$scratch"
  [ "$status" -eq 0 ] || echo "FAIL: the core's headers do not compile after <windows.h> with $compiler"
  return "$status"
}
windows_syntax_check x86_64-w64-mingw32-g++-posix || failures=$((failures + 1))

echo "core layering: $failures failures"
[ "$failures" -eq 0 ]
