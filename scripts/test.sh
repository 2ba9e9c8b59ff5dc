#!/usr/bin/env bash
# Builds and runs every test: unit, renderer and end-to-end tests on a debug build, the unit
# tests again under address and undefined-behaviour sanitizers, the threading tests under
# the thread sanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
run_preset() {
  local preset=$1
  shift
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" "$@"
  ctest --preset "$preset" -j "$jobs"
}

run_preset debug
run_preset asan --target unit_tests render_tests thread_tests
run_preset tsan --target thread_tests

# Fuzz targets: each over its committed corpus, then a few seconds of new inputs (kept in a
# throwaway folder); a crash or broken invariant fails the run. Known findings are listed.
echo "== fuzz"
fuzz_scratch=$(mktemp -d)
fuzz_passed=0
for target in $(scripts/fuzz.sh --list); do
  FUZZ_SCRATCH="$fuzz_scratch/$target" scripts/fuzz.sh "$target" 5
  fuzz_passed=$((fuzz_passed + 1))
done
scripts/fuzz.sh --findings
rm -rf "$fuzz_scratch"
echo "fuzz: $fuzz_passed passed, 0 failed"
