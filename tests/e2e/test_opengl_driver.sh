#!/usr/bin/env bash
# The OpenGL driver on a real display: the unit tests' OpenGL case, which is skipped where no
# display is named, run under Xvfb (and Mesa's software GL) with the window manager.
# Usage: test_opengl_driver.sh <folder holding tripcost and unit_tests>
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/window_lib.sh"
e2e_setup "${1:-}"
window_setup

scenario "mode 12 with OpenGL opens a GL window, is drawn into, flips and closes"
unit_tests=$(dirname "$E2E_PROGRAM")/unit_tests
[ -x "$unit_tests" ] || fail "no unit tests at $unit_tests"
if ! output=$("$unit_tests" --gtest_filter='OpenGlDriver.*' --gtest_brief=1 2>&1); then
  fail "the OpenGL case failed:"$'\n'"$output"
fi
grep -q '1 test.*PASSED\|PASSED.*1 test' <<<"$output" || fail "the OpenGL case did not run:"$'\n'"$output"

echo "PASS"
