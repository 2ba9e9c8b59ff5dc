#!/usr/bin/env bash
# logvolume as a user meets it in a terminal: the start screen, the log sheet with its two
# questions and the volume, a fresh sheet on every Enter, how far the sheet scrolls in 25 and
# 30 rows, and the farewell after Esc, which rings the bell and ends the program by itself.
# Usage: test_logvolume.sh <folder holding logvolume>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}" logvolume

TITLE=" Pieniomat do Drewna Okraglego"
HINT="Nacisnij Enter jesli chcesz kontynuowac lub ESC by zakonczyc"
BANNER="$(printf '%25s' '')DWA  PIWA !!!"
LENGTH_QUESTION="Podaj dlugosc w metrach i nacisnij Enter"
# The bytes above 127 in the texts show as code page 852 has them.
SHEET_ROWS=("3:Autor programu: the textscreen authors"
  "6:Program jest przeznaczony równiez dla ludzi prostych"
  "9:TO JEST PROGRAM ZA FREEKO ALE ZA KAzDY NASTĘPNY NALEZá SIŐ"
  "12:$BANNER"
  "14:Automatyczny Pieniomat do Drewna"
  "20:$LENGTH_QUESTION"
  "21:$(printf '_%.0s' {1..40})")
FAREWELL="Zakończyłeś działanie pieniomata!"
CREDIT="Program napisali autorzy textscreen"
VOLUME_SUFFIX="Tyle fast metrow Robaczku!"
# The colours stand on the black the start screen clears to.
BG=40

fresh_sheet() { text_rows_are "$(printf '%s\n' "${SHEET_ROWS[@]}")"; }

# open_sheet: Enter from the start screen or after a run, pressed until a new sheet stands
# there, its first question waiting for an answer.
open_sheet() {
  press_until Enter fresh_sheet
  expect_text 12 26 "DWA  PIWA !!!" "95/$BG"
}

# measure LENGTH DIAMETER: answers the two questions as they come.
measure() {
  type_text "$1"
  send_keys Enter
  wait_for_text 'rednica w centymetrach to niby jaka ma byc \?\?$'
  type_text "$2"
  send_keys Enter
  wait_for_text "$VOLUME_SUFFIX\$"
}

# expect_sheet_end VOLUME LENGTH DIAMETER: the volume and the hints under the answers.
expect_sheet_end() {
  expect_line " $1$VOLUME_SUFFIX" "97/$BG"
  expect_lines_in_order "$LENGTH_QUESTION" "$(printf '_%.0s' {1..40})" "$2" \
    "$(printf '_%.0s' {1..19})" "$(printf '_%.0s' {1..46})" "$3" "$(printf '_%.0s' {1..20})" \
    " $1$VOLUME_SUFFIX" "$(printf '>%.0s' {1..26})" "Jezeli chcesz kontynuowac Nacisnij  Enter" \
    "$(printf 'X%.0s' {1..42})" "Jezeli chcesz skoĄczyc Naciśnij Esc" "$(printf '_%.0s' {1..35})"
}

expect_start_screen_rows() {
  expect_text 1 2 "${TITLE# }" "31/$BG"
  expect_text 3 1 "$HINT" "31/$BG"
}

# expect_ends_after_farewell: the bell rings and the program ends by itself, status 0.
expect_ends_after_farewell() {
  wait_until 5 bell_rung || fail "the farewell did not ring the bell"
  wait_until 20 process_gone "$PROGRAM_PID" || fail "logvolume did not end by itself"
  expect_ended 0
}

scenario "three sheets in an 80x25 terminal, then Esc"
term_start 80 25
start_program
expect_text_rows "1:$TITLE" "3:$HINT"
expect_start_screen_rows
open_sheet
measure 10 40
expect_sheet_end 1.256 10 40
# 25 rows scroll the sheet's top away, banner and all.
screen_lacks 'DWA  PIWA' || fail "the banner should have scrolled away"
open_sheet
measure 3 10
expect_sheet_end 2.355e-002 3 10
open_sheet
measure 6 33
expect_sheet_end 0.5129191 6 33
bell_rung && fail "the bell rang before the farewell"
press_until Escape screen_has "^$FAREWELL\$"
expect_line "$FAREWELL" "96/$BG"
farewell_row=$LINE_ROW
expect_line "$CREDIT" "96/$BG"
if [ "$LINE_ROW" != $((farewell_row + 2)) ] || [ -n "$(row_text $((farewell_row + 1)))" ]; then
  fail "the credit should stand two rows under the farewell, a blank row between"
fi
expect_ends_after_farewell

scenario "Esc as the first key"
term_start 80 25
start_program
expect_start_screen_rows
press_until Escape screen_has "^$FAREWELL\$"
farewell_rows=$(printf '%s\n' "$TITLE" "" "$HINT" "" "" "" "$FAREWELL" "" "$CREDIT")
first_rows_are() { [ "$(screen_text | head -n 9)" == "$farewell_rows" ]; }
wait_until 5 first_rows_are || fail "rows 1-9 should read:"$'\n'"$farewell_rows"
expect_start_screen_rows
expect_line "$FAREWELL" "96/$BG"
expect_line "$CREDIT" "96/$BG"
expect_ends_after_farewell
# The farewell stays on the screen, the shell carries on under it.
first_rows_are || fail "the farewell was not left on the screen"

scenario "an 80x30 terminal scrolls the sheet less"
term_start 80 30
start_program
expect_start_screen_rows
open_sheet
measure 10 40
expect_sheet_end 1.256 10 40
expect_text 1 26 "DWA  PIWA !!!" "95/$BG"
press_until Escape screen_has "^$FAREWELL\$"
expect_ends_after_farewell

echo "PASS"
