#!/usr/bin/env bash
# tripcost's window on a Wayland desktop scaled by 2 (weston, shown in an X window of the
# test's own Xvfb): the 640x480 frame fills 1280x960 pixels, each frame pixel a sharp 2x2
# block, the program draws there as on any desktop, and keys typed reach it.
# Usage: test_window_wayland_scaled.sh <folder holding tripcost>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/window_lib.sh"
e2e_setup "${1:-}"
command -v weston >/dev/null || { echo "FAIL: weston is missing (scripts/install-deps.sh)" >&2; exit 1; }
# weston's output is 680x520 at scale 2, 1360x1040 pixels: the frame sits 40 pixels in on
# the shell's black, and the pointer weston draws is put in a corner outside the frame.
SCREEN_SIZE=1400x1100 WINDOW_MANAGER=none window_setup
export XDG_RUNTIME_DIR=$E2E_WORK_DIR/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=x11-backend.so --width=680 --height=520 --scale=2 --use-pixman \
  --shell=kiosk-shell.so --socket=wayland-e2e --no-config --log="$E2E_WORK_DIR/weston.log" &
WESTON_PID=$!
trap 'kill "$WESTON_PID" 2>/dev/null && wait "$WESTON_PID" 2>/dev/null; window_cleanup; e2e_cleanup' EXIT
weston_window() { xdotool search --class weston 2>/dev/null | tail -n 1 | grep .; }
wait_until 10 weston_window >/dev/null || fail "weston did not start: $(cat "$E2E_WORK_DIR/weston.log")"
xdotool mousemove --window "$(weston_window)" 1359 1039 windowfocus --sync "$(weston_window)"

# scaled_rows: the frame's text rows, read from weston's output; fails unless every frame
# pixel is a uniform 2x2 block.
scaled_rows() {
  local file=$E2E_WORK_DIR/scaled.png
  timeout 5 import -window "$(weston_window)" -crop 1280x960+40+40 +repage "$file" 2>/dev/null &&
    python3 "$WINDOW_GRID" rows "$file" 2,0,0
}
scaled_has() { grep -Eq -- "$1" <<<"$(scaled_rows 2>/dev/null)"; }

scenario "the window on a scaled Wayland output"
term_start 80 25
run_line "unset DISPLAY; WAYLAND_DISPLAY=wayland-e2e; export WAYLAND_DISPLAY"
start_program
expect_start_screen
send_keys Enter
window_wait 10 scaled_has "^6: +PODAJ DLUGOSC TRASY" ||
  fail "no sharp frame scaled by 2 with the first question:"$'\n'"$(scaled_rows 2>&1)"
xdotool type --delay 20 100
xdotool key Return
window_wait 5 scaled_has "^10:A CENA ZA JEDEN KILOMETR" ||
  fail "the answer did not reach the program:"$'\n'"$(scaled_rows 2>&1)"
send_keys C-c
expect_ended 130

echo "PASS"
