#!/usr/bin/env bash
# logvolume with a display: Enter in the terminal opens the 640x480 window titled
# "logvolume", the two answers typed there bring up the volume at the foot of the sheet,
# Polish letters typed into an answer echo as code page 437 has them, and Esc there shows the
# farewell in the window, after which the program ends by itself, taking its window away and
# giving the terminal back.
# Usage: test_logvolume_window.sh <folder holding logvolume>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/window_lib.sh"
e2e_setup "${1:-}" logvolume
window_setup
# A Polish keyboard: its letters are on AltGr, where xdotool finds them without remapping a
# key for each, which the window might read only after the next remap.
setxkbmap -layout pl

LENGTH_QUESTION="Podaj dlugosc w metrach i nacisnij Enter"
VOLUME=" 1.256Tyle fast metrow Robaczku!"

# window_type_slowly TEXT: typed letters and all, at a typist's pace: at xdotool's own pace
# the window (SDL's X11 input) loses some of the AltGr letters.
window_type_slowly() { LC_ALL=C.UTF-8 xdotool type --window "$(window_id)" --delay 150 "$1"; }

scenario "Enter in the terminal opens the window"
term_start 80 25
run_line "echo before logvolume"
start_program
wait_for_text "^Nacisnij Enter"
send_keys Enter
wait_for_window logvolume
[ "$(window_size)" == 640x480 ] || fail "the window is $(window_size), not 640x480"
expect_window_text "^20:$LENGTH_QUESTION\$"

scenario "Polish letters in the answers echo as the window's code page has them"
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

scenario "the volume, in white, at the foot of the scrolled sheet"
# Sheet lines 12 to 40 on window rows 1 to 29 (in full: the calculation screen's unit test).
expect_window_text "^11:10alz\$"
expect_window_text "^22:$VOLUME\$"
expect_window_text "^28:Jezeli chcesz skoñczyc Naciÿnij Esc\$"
expect_window_colours 15/0 "$VOLUME"

scenario "Esc in the window: the farewell, then the program ends by itself"
window_keys Escape
# The window lasts only as long as the beep and the closing delay, less than a capture and
# its decoding may take: captures are taken until it goes, and the last ones read.
shots=0
while window_exists && ((shots < 100)); do
  capture "$E2E_WORK_DIR/shot$shots.png" >/dev/null && shots=$((shots + 1))
done
farewell=""
for ((n = shots - 1; n >= 0 && n >= shots - 3; n--)); do
  rows=$(python3 "$WINDOW_GRID" rows "$E2E_WORK_DIR/shot$n.png" 2>/dev/null || true)
  if grep -q 'pieniomata!$' <<<"$rows"; then farewell=$E2E_WORK_DIR/shot$n.png && break; fi
done
[ -n "$farewell" ] || fail "no farewell in the window's last pictures:"$'\n'"$rows"
[ "$(python3 "$WINDOW_GRID" colours "$farewell" pieniomata!)" == 11/0 ] ||
  fail "the farewell is not in light cyan"
# The window went with the program: it ends with status 0.
wait_until 20 process_gone "$PROGRAM_PID" || fail "logvolume did not end by itself"
expect_ended 0
window_exists && fail "the window outlived the program"
user_screen_back "before logvolume"

echo "PASS"
