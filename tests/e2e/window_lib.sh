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
  window_wait 10 window_id >/dev/null || fail "no window titled $1 appeared"
}

window_id() { xdotool search --name "^$WINDOW_TITLE\$" 2>/dev/null | tail -n 1 | grep .; }
window_exists() { window_id >/dev/null; }
window_size() { xdotool getwindowgeometry "$(window_id)" | sed -nE 's/ *Geometry: //p'; }
window_size_is() { [ "$(window_size)" == "$1" ]; }

# expect_window_size WIDTHxHEIGHT: the window takes that size in time.
expect_window_size() {
  window_wait 5 window_size_is "$1" || fail "the window is $(window_size), not $1"
}

# window_type TEXT / window_keys KEY...: typed into the window (xdotool key names).
window_type() { xdotool type --window "$(window_id)" --delay 20 "$1"; }
window_keys() { xdotool key --window "$(window_id)" --delay 20 "$@"; }

# capture [FILE]: the window's picture, in FILE (a scratch file unless given).
capture() {
  local file=${1:-$E2E_WORK_DIR/capture.png}
  # import waits for a click when the window is gone: never let it wait long.
  local id
  id=$(window_id) && timeout 5 import -window "$id" "$file" 2>/dev/null && echo "$file"
}

# window_wait SECONDS COMMAND...: like wait_until, for checks that take a good part of a
# second themselves (a capture and its decoding): true once COMMAND succeeds.
window_wait() {
  local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
  shift
  until "$@"; do
    ((${EPOCHREALTIME/./} < deadline)) || return 1
    sleep 0.1
  done
}

window_rows() { local file; file=$(capture) && python3 "$WINDOW_GRID" rows "$file"; }
window_has() {
  local rows
  rows=$(window_rows) && grep -Eq -- "$1" <<<"$rows"
}

# placed_rows SCALE,LEFT,TOP WINDOW [IMPORT_OPTION...]: the text rows of a picture of WINDOW
# (root: the whole screen), which is to show the frame scaled by SCALE (each pixel a uniform
# block) at LEFT,TOP with black all around.
placed_rows() {
  local file=$E2E_WORK_DIR/placed.png
  timeout 5 import -window "$2" "${@:3}" "$file" 2>/dev/null && python3 "$WINDOW_GRID" rows "$file" "$1"
}
placed_has() {
  local rows
  rows=$(placed_rows "${@:2}" 2>&1) && grep -Eq -- "$1" <<<"$rows"
}

# expect_placed_text REGEX SCALE,LEFT,TOP WINDOW [IMPORT_OPTION...]: the picture shows the
# frame so, with a row matching REGEX, in time.
expect_placed_text() {
  window_wait 10 placed_has "$@" || fail "\"$1\" is not shown as $2:"$'\n'"$(placed_rows "${@:2}" 2>&1)"
}

# window_colours_are FG/BG TEXT: TEXT stands in the window in colour numbers FG on BG.
window_colours_are() {
  local file
  file=$(capture) && [ "$(python3 "$WINDOW_GRID" colours "$file" "$2")" == "$1" ]
}

# expect_window_text REGEX: a row of the window matching REGEX shows up in time.
expect_window_text() {
  window_wait 10 window_has "$1" || fail "\"$1\" did not appear in the window:"$'\n'"$(window_rows)"
}
