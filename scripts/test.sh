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
