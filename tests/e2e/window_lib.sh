# shellcheck shell=bash
# Helpers for the end-to-end tests of the graphics window, sourced after lib.sh.
#
# The program runs in the tmux terminal as in every e2e test, with DISPLAY naming an Xvfb
# server of the test's own, managed by a small window manager (evilwm: the window's full
# screen is the window manager's to grant); its window is found by title with xdotool, typed
# into with xdotool, captured with ImageMagick's import and read back as 80x30 text cells by
# window_grid.py. Call window_setup before term_start: the terminal's shell takes DISPLAY
# from the script.

WINDOW_GRID="$(dirname "${BASH_SOURCE[0]}")/window_grid.py"
WINDOW_TITLE="" XVFB_PID="" WM_PID=""
# The screen holds a 640x480 frame twice over (1280x960, 60 black columns left and right and
# 70 black lines above and below), and a Wayland desktop of 1360x1040 pixels in a window.
SCREEN_SIZE=1400x1100

# window_setup: starts Xvfb on a display number it finds free itself, exports DISPLAY and
# starts the window manager on it.
window_setup() {
  local tool
  for tool in Xvfb evilwm xprop xdotool import convert python3 weston; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
  done
  local number_file=$E2E_WORK_DIR/display
  Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp 3>"$number_file" 2>"$E2E_WORK_DIR/xvfb.log" &
  XVFB_PID=$!
  trap 'window_cleanup; e2e_cleanup' EXIT
  wait_until 10 test -s "$number_file" || fail "Xvfb did not start: $(cat "$E2E_WORK_DIR/xvfb.log")"
  DISPLAY=":$(head -n 1 "$number_file")"
  export DISPLAY
  # The number comes as the server starts listening; clients are welcome once it answers.
  wait_until 10 display_answers || fail "Xvfb on $DISPLAY does not answer"
  # Xvfb has only its built-in fonts, and evilwm's own choice is not among them. A window
  # manager that lost a race at start (on a loaded machine) gets a second go.
  for _ in 1 2; do
    evilwm -fn fixed 2>"$E2E_WORK_DIR/wm.log" &
    WM_PID=$!
    wait_until 10 wm_running && return
    kill "$WM_PID" 2>/dev/null || true
  done
  fail "the window manager did not start on $DISPLAY: $(cat "$E2E_WORK_DIR/wm.log")"
}

display_answers() { xprop -root >/dev/null 2>&1; }
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# stop_window_manager: leaves a bare X server, as on a desktop without a window manager.
stop_window_manager() {
  kill "$WM_PID"
  wait "$WM_PID" 2>/dev/null || true
  WM_PID=""
}

window_cleanup() {
  [ -z "$WM_PID" ] || kill "$WM_PID" 2>/dev/null || true
  [ -z "$XVFB_PID" ] || kill "$XVFB_PID" 2>/dev/null || true
}

# wait_for_window TITLE: the program's window shows up. Every screen_mode makes a new
# window, which may even get the old one's id: each step below looks the window up afresh.
wait_for_window() {
  WINDOW_TITLE=$1
  wait_until 10 window_exists || fail "no window titled $1 appeared"
}

window_id() { xdotool search --name "^$WINDOW_TITLE\$" 2>/dev/null | tail -n 1 | grep .; }
window_exists() { window_id >/dev/null; }
window_size() { xdotool getwindowgeometry "$(window_id)" | sed -nE 's/ *Geometry: //p'; }
window_size_is() { [ "$(window_size)" == "$1" ]; }

# expect_window_size WIDTHxHEIGHT: the window takes that size in time.
expect_window_size() {
  wait_until 5 window_size_is "$1" || fail "the window is $(window_size), not $1"
}

# window_type TEXT / window_keys KEY...: typed into the window (xdotool key names).
window_type() { xdotool type --window "$(window_id)" --delay 20 "$1"; }
window_keys() { xdotool key --window "$(window_id)" --delay 20 "$@"; }
# window_key_closing KEY: a key after which the window goes (Enter in the key loop opens a
# new one, a key on the farewell ends the program). The window may be gone before the key
# comes up: the release goes to wherever the keyboard is, so that the X server never holds
# the key down and starts repeating it into the next window.
window_key_closing() {
  xdotool keydown --window "$(window_id)" "$1"
  xdotool keyup "$1" 2>/dev/null
}

# capture FILE [WINDOW [IMPORT_OPTION...]]: a picture of the program's window, or of WINDOW
# (root: the whole screen). import waits for a click when the window is gone: never long.
capture() {
  local id=${2:-}
  [ -n "$id" ] || id=$(window_id) || return 1
  timeout 5 import -window "$id" "${@:3}" "$1" 2>/dev/null
}

# window_rows [SCALE,LEFT,TOP WINDOW [IMPORT_OPTION...]]: the text rows of the window; or of
# a picture of WINDOW, which is to show the frame scaled by SCALE (each pixel a uniform block)
# at LEFT,TOP with black all around.
window_rows() {
  capture "$E2E_WORK_DIR/capture.png" "${@:2}" &&
    python3 "$WINDOW_GRID" rows "$E2E_WORK_DIR/capture.png" ${1:+"$1"}
}
window_has() { window_rows "${@:2}" 2>/dev/null | grep -E -- "$1" >/dev/null; }

# expect_window_text REGEX [SCALE,LEFT,TOP WINDOW [IMPORT_OPTION...]]: a row matching REGEX
# shows up in time, in the window or as window_rows reads WINDOW.
expect_window_text() {
  wait_until 10 window_has "$@" || fail "\"$1\" is not in the picture:"$'\n'"$(window_rows "${@:2}" 2>&1)"
}
