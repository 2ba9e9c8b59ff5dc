#!/usr/bin/env bash
# Builds and runs every test, one line per stage; a stage that fails shows its output in full.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'TXT'
usage: scripts/test.sh [--quick]

Installs what is missing, then builds and runs, one stage after another:
  debug  unit tests (GoogleTest, on the in-memory console), renderer tests against a
         terminal model (libvterm), the layering check, and end-to-end runs of both
         programs in a real terminal (tmux) and with keys from a pipe
  asan   the unit, renderer and threading tests under address and undefined-behaviour
         sanitizers
  tsan   the threading tests under the thread sanitizer
  fuzz   every libFuzzer target over its committed corpus and then 5 seconds of new
         inputs (clang; scripts/fuzz.sh runs one for long)
  windows-x64, windows-x86
         the Windows build (mingw-w64): its unit tests, the console device on a real
         console and both programs end to end, under Wine (skipped, with a line that says
         so, where Wine or its 32-bit half is missing)
  packages
         the .deb and the Windows zip as scripts/package.sh makes them, checked file by file
--quick runs the debug stage alone. Build and test logs are kept in build/<stage>/.
TXT
}

stages=(debug asan tsan fuzz windows-x64 windows-x86 packages)
case "${1:-}" in
  "") ;;
  --quick) stages=(debug) ;;
  --help | -h) usage && exit 0 ;;
  *) usage >&2 && exit 2 ;;
esac

scripts/install-deps.sh
jobs=$(nproc)
passed=0
failed=0

# run_stage NAME [TARGET...]: configures, builds (the targets, or everything) and tests.
run_stage() {
  local preset=$1 started=$SECONDS log
  shift
  log=build/$preset/test.log
  mkdir -p "build/$preset"
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j "$jobs" ${1:+--target "$@"}; } \
    >"build/$preset/build.log" 2>&1; then
    echo "== $preset: the build failed"
    cat "build/$preset/build.log"
    failed=$((failed + 1))
    return
  fi
  local status=0
  ctest --preset "$preset" -j "$jobs" >"$log" 2>&1 || status=$?
  local summary
  summary=$(grep -E '^[0-9]+% tests passed' "$log" || echo "no test summary")
  echo "== $preset: $summary ($((SECONDS - started)) s)"
  local total failures
  total=$(sed -nE 's/.* out of ([0-9]+)$/\1/p' <<<"$summary")
  failures=$(sed -nE 's/.*, ([0-9]+) tests? failed.*/\1/p' <<<"$summary")
  passed=$((passed + ${total:-0} - ${failures:-0}))
  failed=$((failed + ${failures:-0}))
  if [ "$status" -ne 0 ]; then
    # The failures in full: ctest's log without the lines of the tests that passed.
    grep -v -E '^ *(Start +[0-9]+:|[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed)' "$log" || true
    [ "${failures:-0}" -gt 0 ] || failed=$((failed + 1))
  fi
}

# run_fuzz_stage: each fuzz target over its corpus plus a short exploration; a crash or a
# broken invariant fails it.
run_fuzz_stage() {
  local started=$SECONDS target log=build/fuzz-stage.log ran=0 broke=0
  mkdir -p build
  : >"$log"
  for target in $(scripts/fuzz.sh --list); do
    if FUZZ_SCRATCH=$(mktemp -d) scripts/fuzz.sh "$target" 5 >>"$log" 2>&1; then
      ran=$((ran + 1))
    else
      broke=$((broke + 1))
    fi
  done
  scripts/fuzz.sh --findings >>"$log" 2>&1 || broke=$((broke + 1))
  echo "== fuzz: $ran targets ran clean, $broke failed, $(grep -c 'still reproduces' "$log") known findings ($((SECONDS - started)) s)"
  [ "$broke" -eq 0 ] || cat "$log"
  passed=$((passed + ran))
  failed=$((failed + broke))
}

# run_windows_stage PRESET: the Windows build's stage, where Wine can run what it builds.
run_windows_stage() {
  local preset=$1
  if ! command -v wine >/dev/null; then
    echo "== $preset: skipped: Wine is not installed"
  elif [ "$preset" = windows-x86 ] && [ ! -x /usr/lib/wine/wine ]; then
    echo "== $preset: skipped: Wine cannot run 32-bit programs here (wine32:i386 is missing)"
  else
    run_stage "$preset"
  fi
}

# run_packages_stage: makes the packages from the builds at hand and checks what they hold.
run_packages_stage() {
  local started=$SECONDS log=build/packages-stage.log
  mkdir -p build
  if scripts/package.sh >"$log" 2>&1 && tests/packaging/test_packages.sh build/packages >>"$log" 2>&1; then
    echo "== packages: made and checked ($((SECONDS - started)) s)"
    passed=$((passed + 1))
  else
    echo "== packages: failed"
    cat "$log"
    failed=$((failed + 1))
  fi
}

for stage in "${stages[@]}"; do
  case $stage in
    debug) run_stage debug ;;
    asan) run_stage asan unit_tests render_tests thread_tests ;;
    tsan) run_stage tsan thread_tests ;;
    fuzz) run_fuzz_stage ;;
    windows-*) run_windows_stage "$stage" ;;
    packages) run_packages_stage ;;
  esac
done

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
