#!/usr/bin/env bash
# Both programs with a display (an Xvfb server of the test's own, with a window manager):
# Enter in the terminal opens the 640x480 window titled after the program, answers typed there
# bring up the results, Alt+Enter shows the frame on the whole screen and brings the window
# back, the close box and Alt+F4 leave it open, Polish letters echo
# as code page 437 has them, Esc leads to the farewell, and the window goes with the program.
# Then the OpenGL driver, tripcost's window on a bare X server (no full screen to grant), and
# on a Wayland desktop scaled by 2; last, the compositor and then the X server go away under
# an open window.
# Usage: test_window.sh <folder holding tripcost, logvolume and unit_tests>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/window_lib.sh"
e2e_setup "${1:-}"
window_setup

# open_window: the program in a fresh terminal, where Enter on its start screen opens its
# 640x480 window.
open_window() {
  term_start 80 25
  run_line "echo before $E2E_PROGRAM_NAME"
  # The program's command typed only then: typed ahead, it would show beside the echo.
  wait_for_text "^before $E2E_PROGRAM_NAME\$"
  start_program
  wait_for_text '^(Kalkulator Trasoka|Nacisnij Enter)'
  send_keys Enter
  wait_for_window "$E2E_PROGRAM_NAME"
  expect_window_size 640x480
}

scenario "Enter in the terminal opens the window"
open_window
expect_window_text "^6:$FIRST_QUESTION\$"

scenario "Alt+Enter: the frame on the whole screen, twice its size and centred; again: the window"
window_keys alt+Return
expect_window_size "$SCREEN_SIZE"
# 640x480 twice over on 1400x1100: 1280x960 at 60,70.
expect_window_text "^6:$FIRST_QUESTION\$" 2,60,70 root
window_keys alt+Return
expect_window_size 640x480
expect_window_text "^6:$FIRST_QUESTION\$"

scenario "six empty answers lead to the results and back to the key loop"
# The results in full are the calculation screen's unit test; answers typed into a window,
# the other windows' below. What the waiting loop costs is a benchmark's figure
# (bench/window_latency.sh), not a test's.
window_keys Escape Return Return Return Return Return Return
expect_window_text "^29:$ESC_HINT\$"

scenario "the close box and Alt+F4 leave the window open"
# What a window manager sends when the window's close box is clicked.
python3 "$WINDOW_GRID" close "$(window_id)"
window_keys alt+F4
sleep 0.5
window_exists || fail "the window closed"
# The program took both as keys of no meaning: Enter still opens a fresh screen, in a new
# window.
window_key_closing Return
expect_window_text "^6:$FIRST_QUESTION\$"
window_keys Escape Return Return Return Return Return Return
expect_window_text "^29:$ESC_HINT\$"

scenario "a whole trip typed faster than the program reads it"
# More keys than the window's key ring holds, at once: the rest wait in the window system.
window_keys_at_once() { xdotool key --window "$(window_id)" --delay 0 "$@"; }
window_key_closing Return
expect_window_text "^6:$FIRST_QUESTION\$"
window_keys_at_once 1 0 0 Return 1 Return 4 Return 2 Return 7 Return 2 0 Return
expect_window_text 'MNIEJ WI.CEJ   124 ZL'

scenario "Esc in the window: the farewell, then a key ends the program"
window_keys Escape
expect_window_text "KONIEC PRACY  KALKULATORA !"
window_key_closing space
expect_ended 0

scenario "scripted runs with a display: the whole calculation on standard output, no window"
trip="$E2E_WORK_DIR/trip.txt"
status=0
printf '\r100\r1\r4\r2\r7\r20\r\x1b\r' | timeout 20 "$E2E_PROGRAM" >"$trip" 2>&1 || status=$?
[ "$status" == 0 ] && [ "$(LC_ALL=C grep -a -c 'MNIEJ WI.*124 ZL' "$trip")" == 1 ] ||
  fail "the scripted run ended with $status, its output:"$'\n'"$(cat -v "$trip")"
# Told to draw into memory, it goes through the graphics screen with the script's keys.
printf '\r100\r1\r4\r2\r7\r20\r\x1b\r' | VXGFX=null timeout 20 "$E2E_PROGRAM" >"$trip" 2>&1 ||
  fail "the scripted run through the graphics screen ended with $?"

scenario "mode 12 with OpenGL opens a GL window, is drawn into, flips and closes"
output=$("$E2E_BIN_DIR/unit_tests" --gtest_filter='OpenGlDriver.*' --gtest_brief=1 2>&1) &&
  grep -q 'PASSED.*1 test' <<<"$output" || fail "the OpenGL case failed or did not run:"$'\n'"$output"

use_program logvolume
# A Polish keyboard: its letters are on AltGr, where xdotool finds them without remapping a
# key for each, which the window might read only after the next remap.
setxkbmap -layout pl

VOLUME=" 1.256Tyle fast metrow Robaczku!"

# window_type_slowly TEXT: typed letters and all, at a typist's pace: at xdotool's own pace
# the window (SDL's X11 input) loses some of the AltGr letters.
window_type_slowly() { LC_ALL=C.UTF-8 xdotool type --window "$(window_id)" --delay 150 "$1"; }

scenario "logvolume: Enter in the terminal opens the window"
open_window
expect_window_text "^20:Podaj dlugosc w metrach i nacisnij Enter\$"

scenario "logvolume: Polish letters in the answers echo as the window's code page has them"
# Code page 437 lacks ą, ł and ż: each becomes its letter without the mark.
window_type_slowly "10ąłż"
expect_window_text "^22:10alz\$"
window_keys Return
expect_window_text "^26:A £rednica"
# Backspace takes a translated letter away as one character.
window_type_slowly "4ą"
expect_window_text "^28:4a\$"
window_keys BackSpace
window_type 0
expect_window_text "^28:40\$"
window_keys Return
# The volume at the foot of the scrolled sheet (in full: the calculation screen's unit test).
expect_window_text "^22:$VOLUME\$"

scenario "logvolume: Esc in the window: the farewell, then the program ends by itself"
window_keys Escape
# The window lasts only as long as the beep and the closing delay, less than a capture and
# its decoding may take: captures are taken until it goes, and the last ones read.
shots=0
while window_exists && ((shots < 100)); do
  capture "$E2E_WORK_DIR/shot$shots.png" && shots=$((shots + 1))
done
farewell=""
for ((n = shots - 1; n >= 0 && n >= shots - 3; n--)); do
  farewell=$(python3 "$WINDOW_GRID" colours "$E2E_WORK_DIR/shot$n.png" pieniomata! 2>/dev/null) &&
    [ -n "$farewell" ] && break
done
[ "$farewell" == 11/0 ] || fail "the window's last pictures show no farewell in light cyan (${farewell:-none})"
# The window went with the program: it ends with status 0.
expect_ended 0 20
window_exists && fail "the window outlived the program"
user_screen_back "before logvolume"
setxkbmap -layout us

use_program tripcost
stop_window_manager

scenario "Alt+Enter with no window manager keeps the window"
open_window
expect_window_text "PODAJ DLUGOSC TRASY"
window_keys alt+Return
sleep 0.5
expect_window_size 640x480
window_type 100
expect_window_text "^8:100\$"

scenario "Ctrl+C in the terminal with the window open"
send_keys C-c
expect_ended 130
window_exists && fail "the window outlived the program"
user_screen_back "before tripcost"

# weston's output is 680x520 at scale 2, 1360x1040 pixels: the frame sits 40 pixels in on
# the shell's black, and the pointer weston draws is put in a corner outside the frame.
export XDG_RUNTIME_DIR=$E2E_WORK_DIR/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston_window() { xdotool search --class weston 2>/dev/null | tail -n 1 | grep .; }
start_weston() {
  weston --backend=x11-backend.so --width=680 --height=520 --scale=2 --use-pixman \
    --shell=kiosk-shell.so --socket=wayland-e2e --no-config --log="$E2E_WORK_DIR/weston.log" &
  WESTON_PID=$!
  wait_until 10 weston_window >/dev/null
}
trap 'kill "$WESTON_PID" 2>/dev/null && wait "$WESTON_PID" 2>/dev/null; window_cleanup; e2e_cleanup' EXIT
# weston now and then fails to make its X11 output on a busy machine ("failed to create
# compositor backend"); that is weston's start, not what is tested here, so it gets a
# second try.
start_weston || { kill "$WESTON_PID" 2>/dev/null; wait "$WESTON_PID" 2>/dev/null; start_weston; } ||
  fail "weston did not start: $(cat "$E2E_WORK_DIR/weston.log")"
xdotool mousemove --window "$(weston_window)" 1359 1039 windowfocus --sync "$(weston_window)"

scenario "the window on a scaled Wayland output"
term_start 80 25
run_line "unset DISPLAY; WAYLAND_DISPLAY=wayland-e2e; export WAYLAND_DISPLAY"
start_program
expect_start_screen
send_keys Enter
# The frame, read from weston's output, in sharp 2x2 blocks.
weston_output=("$(weston_window)" -crop 1280x960+40+40 +repage)
expect_window_text "^6: +PODAJ DLUGOSC TRASY" 2,0,0 "${weston_output[@]}"
xdotool type --delay 20 100
xdotool key Return
expect_window_text "^10:A CENA ZA JEDEN KILOMETR" 2,0,0 "${weston_output[@]}"

# loss_said: the program's screen is gone, and the user's own screen ends in the one line
# the program left, the shell's word for a hang-up and its prompt.
loss_said() {
  [ "$(screen_text | grep . | tail -n 3)" == \
    "$E2E_PROGRAM_NAME: the display was lost"$'\n'"Hangup"$'\n''e2e$' ] &&
    screen_lacks 'Kalkulator|KONIEC|PODAJ'
}
# expect_display_lost: the program ends as when its terminal closes, saying why.
expect_display_lost() {
  wait_until 5 process_gone "$PROGRAM_PID" || fail "$E2E_PROGRAM_NAME outlived its display"
  wait_until 5 loss_said || fail "the terminal did not come back with the one line of the lost display"
  expect_shell_back 129
}

scenario "the compositor goes away under the window"
kill "$WESTON_PID"
expect_display_lost

scenario "the X server goes away under the window"
open_window
kill "$XVFB_PID"
expect_display_lost
user_screen_back "before tripcost"

echo "PASS"
