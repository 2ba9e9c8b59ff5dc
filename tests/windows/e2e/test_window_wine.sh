#!/usr/bin/env bash
# The Windows programs' own window (DirectX, and GDI by name) under Wine, on an X server of the test's own with a
# window manager, read back cell by cell by the Linux window test's glyph decoder: Enter in
# the terminal opens the 640x480 window titled after the program, typed Polish letters echo
# as code page 437 has them, the close box and Alt+F4 leave it open, answers typed there
# bring up the same results in the same colours as on Linux, Esc leads to the farewell, and
# the programs end with status 0, the window with them. DirectX's Alt+Enter and maximise box
# ask for the whole screen, which Xvfb has no mode for: the window comes back as it was.
# Wine's console in a terminal gives Esc no character: here Esc goes to the window, as a user
# of the window presses it.
# With VXGFX=null no window opens, and a script's keys go through the screens in memory.
# Usage: test_window_wine.sh <folder holding tripcost.exe and logvolume.exe> <Wine prefix>
# shellcheck disable=SC2119 # the helpers take their own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../../e2e/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/../../e2e/window_lib.sh"
[ -n "${2:-}" ] || { echo "usage: $0 <folder of the .exe files> <Wine prefix>" >&2; exit 2; }
WINEPREFIX=$(realpath "$2")
# A desktop's UTF-8 locale: in the C locale Wine drops typed letters outside Latin-1 (ą, ł, ż
# never reach the program, ó does).
export WINEPREFIX WINEDEBUG=-all LC_ALL=C.UTF-8

use_program() {
  E2E_PROGRAM_NAME=$1.exe E2E_PROGRAM=$E2E_BIN_DIR/$1.exe
  [ -f "$E2E_PROGRAM" ] || fail "no program at $E2E_PROGRAM"
}
# Wine starts the program as a process of the program file's name, not as the shell's child
# but in the terminal's session (other Wine programs may be running on the machine).
program_runs_under() { PROGRAM_PID=$(pgrep -n -s "$(pane_info '#{pane_pid}')" -x "$E2E_PROGRAM_NAME"); }
start_program() {
  run_line "wine '$E2E_PROGRAM'"
  wait_until 10 program_runs_under || fail "$E2E_PROGRAM_NAME is not running"
  E2E_PIDS+=("$PROGRAM_PID")
}
e2e_cleanup() {
  term_stop
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    [[ ! "$(ps -o comm= -p "$pid")" =~ ^(tripcost|logvolume)\.exe$ ]] || kill -KILL "$pid" || true
  done
  rm -rf "$E2E_WORK_DIR"
}
e2e_setup "$1"
window_setup
# A Polish keyboard, set before the programs start: ą, ł and ż on AltGr.
setxkbmap -layout pl

# open_window CHECK...: the program in a fresh terminal with the display, its start screen
# there (CHECK: a command that sees it), and Enter in the terminal opening its window.
open_window() {
  term_start 80 25
  start_program
  "$@"
  send_keys Enter
  wait_for_window "${E2E_PROGRAM_NAME%.exe}"
  expect_window_size 640x480
}

# The rows of tripcost's results for a 100 km trip at 1 PLN/km, both ways, 7 l/100 km at
# 4 PLN/l and 20 PLN more: the glyphs the Linux window shows for them, è included.
RESULTS=("13: PRZEJECHANE  200 KM" "17:CENA ZA PRZEJAZD =  200PLN" "20: PALIWA SPALONE 14  [LITRY]"
  "23:CENA ZA PALIWO =  56PLN" "26:PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WIèCEJ   124 ZL")
# Light red, yellow, light magenta, light green twice, on black.
RESULT_COLOURS="12/0 14/0 13/0 10/0 10/0"

# expect_window_made_again WHAT: a new window replaced $window, there to stay (a full-screen
# one would come and go), 640x480 inside and showing the results as before.
expect_window_made_again() {
  window_replaced() {
    local id
    id=$(window_id) && [ "$id" != "$window" ] && window_size_is 640x480 && sleep 0.5 &&
      [ "$(window_id)" == "$id" ]
  }
  wait_until 10 window_replaced || { xwininfo -id "$(window_id)" | grep -E "Window id|Width|Height|Map"; xprop -id "$(window_id)" _NET_WM_STATE WM_STATE; echo "old $window"; fail "$1 did not make the window again"; }
  expect_window_text "^26:PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WIèCEJ   124 ZL\$"
  expect_window_text "^29:$ESC_HINT\$"
}

# trip_in_window DRIVER: a whole tripcost run in the window the driver draws.
trip_in_window() {
  local driver=$1 window hints rows colours row farewell
  scenario "$driver: Enter in the terminal opens the window titled tripcost, 640x480 inside"
  open_window expect_start_screen
  expect_window_text "^6:$FIRST_QUESTION\$"
  # The frame as the window manager is asked for it: move, minimise and close (0x2c); a
  # border, a caption, a system menu and a minimise box (0x3a); no sizing. DirectX adds the
  # maximise box (0x10, 0x40), its way to the whole screen.
  local expected="0x2c, 0x3a" frame="a caption with a system menu and a minimise box"
  [ "$driver" != DirectX ] || expected="0x3c, 0x7a" frame+=" and a maximise box"
  hints=$(xprop -id "$(window_id)" _MOTIF_WM_HINTS)
  [ "$hints" == "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, $expected, 0x0, 0x0" ] ||
    fail "the window's frame is not $frame: $hints"

  scenario "$driver: Polish letters typed into the window echo as code page 437 has them"
  # Code page 437 lacks ą, ł and ż: each becomes its letter without the mark.
  window_type "ąłż"
  expect_window_text "^8:alz\$"
  window_keys BackSpace BackSpace BackSpace

  scenario "$driver: the close box and Alt+F4 leave the window open, and the answer goes on"
  window=$(window_id)
  # What a window manager sends when the window's close box is clicked.
  python3 "$WINDOW_GRID" close "$window"
  window_keys alt+F4
  # The answer after them: the letters gone one Backspace each, the keys after them still read.
  window_type 100
  expect_window_text "^8:100\$"
  [ "$(window_id)" == "$window" ] || fail "the window was closed and another opened"

  scenario "$driver: the rest of the answers: the results in the window, each in its colour"
  window_keys Return
  for answer in 1 4 2 7 20; do window_type "$answer" && window_keys Return; done
  expect_window_text "^29:$ESC_HINT\$"
  capture "$E2E_WORK_DIR/results.png" || fail "the window could not be captured"
  rows=$(python3 "$WINDOW_GRID" rows "$E2E_WORK_DIR/results.png")
  colours=""
  for row in "${RESULTS[@]}"; do
    grep -qxF -- "$row" <<<"$rows" || fail "the results lack the row \"$row\":"$'\n'"$rows"
    colours+=" $(python3 "$WINDOW_GRID" colours "$E2E_WORK_DIR/results.png" "${row#*:}")"
  done
  [ "$colours" == " $RESULT_COLOURS" ] || fail "the results are drawn in$colours, not $RESULT_COLOURS"

  if [ "$driver" == DirectX ]; then
    scenario "DirectX: Alt+Enter asks for the whole screen, which this display has no mode for"
    # The window is made again, as it was: same size, the same frame shown. The old window
    # goes with the key: its release goes wherever the keyboard is.
    window=$(window_id)
    window_key_closing alt+Return
    expect_window_made_again "Alt+Enter"

    scenario "DirectX: the maximise box asks for the whole screen too"
    window=$(window_id)
    python3 "$WINDOW_GRID" maximise "$window"
    expect_window_made_again "maximising"
  fi

  scenario "$driver: Esc in the window: the farewell, then a key ends the program with status 0"
  window_keys Escape
  farewell=$(printf '%s\n' "${FAREWELL_ROWS[@]}")
  farewell_shown() { [ "$(window_rows)" == "$farewell" ]; }
  wait_until 10 farewell_shown || fail "the window should hold only the farewell:"$'\n'"$(window_rows 2>&1)"
  window_key_closing space
  # What the terminal shows after a Wine program is Wine's: the shell's word on the status counts.
  expect_ended 0 10
  ! window_exists || fail "the window outlived the program"
}

# DirectX, the first driver tried, and GDI, by name.
for driver in DirectX GDI; do
  if [ "$driver" == GDI ]; then export VXGFX=gdi; else unset VXGFX; fi
  use_program tripcost
  trip_in_window "$driver"
done
unset VXGFX

scenario "VXGFX=null: the calculation screen lives in memory, no window opens, piped keys go through it"
use_program tripcost
term_start 80 25
keys="\\r100\\r1\\r4\\r2\\r7\\r20\\r\\033"
run_line "{ printf '$keys'; sleep 3; printf '\\r'; } | VXGFX=null wine '$E2E_PROGRAM'; echo status \$?"
WINDOW_TITLE=tripcost
for ((tries = 0; tries < 100; tries++)); do
  ! window_exists || fail "a window opened with VXGFX=null"
  ! screen_has '^status ' || break
  sleep 0.2
done
screen_has '^status 0$' || fail "the piped trip with VXGFX=null did not end with status 0"

use_program logvolume
VOLUME=" 1.256Tyle fast metrow Robaczku!"
LOG_FAREWELL="27:Zako.czy.e. dzia.anie pieniomata!"

scenario "logvolume: a log of 10 m by 40 cm in the window"
open_window wait_for_text '^Nacisnij Enter jesli chcesz kontynuowac'
expect_window_text "^20:Podaj dlugosc w metrach i nacisnij Enter\$"
window_type 10 && window_keys Return
window_type 40 && window_keys Return
expect_window_text "^22:$VOLUME\$"

scenario "logvolume: Esc in the window: the farewell, then the program ends by itself"
window_keys Escape
# The farewell stands about a second, a few captures' and decodings' time: the window is
# captured until it goes, and the newest picture of the farewell is read.
shots=0
while window_exists && ((shots < 100)); do capture "$E2E_WORK_DIR/shot$((++shots)).png" || true; done
rows="" colours=""
for ((n = shots; n > 0; n--)); do
  rows=$(python3 "$WINDOW_GRID" rows "$E2E_WORK_DIR/shot$n.png" 2>/dev/null) && grep -q pieniomata <<<"$rows" &&
    colours=$(python3 "$WINDOW_GRID" colours "$E2E_WORK_DIR/shot$n.png" pieniomata!) && break
done
{ grep -qx "$LOG_FAREWELL" <<<"$rows" && [ "$colours" == 11/0 ]; } ||
  fail "no picture of the window shows the farewell in light cyan ($colours):"$'\n'"$rows"
expect_ended 0 20
! window_exists || fail "the window outlived the program"

echo "PASS: the Windows programs' window under Wine"
