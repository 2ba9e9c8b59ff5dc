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
FAREWELL="Zakończyłeś działanie pieniomata!"
CREDIT="Program napisali autorzy textscreen"
VOLUME_SUFFIX="Tyle fast metrow Robaczku!"
# The sheet's lines as printed from the top of the screen, up to the first answer. The bytes
# above 127 in the texts show as code page 852 has them.
SHEET=("" "" "Autor programu: the textscreen authors" "" ""
  "Program jest przeznaczony równiez dla ludzi prostych" "" ""
  "TO JEST PROGRAM ZA FREEKO ALE ZA KAzDY NASTĘPNY NALEZá SIŐ" "" "" "$BANNER" ""
  "Automatyczny Pieniomat do Drewna" "" "" "" "" "" "Podaj dlugosc w metrach i nacisnij Enter"
  "$(rule _ 40)")
FRESH_SHEET=$(numbered 1 "${SHEET[@]}")
# The colours stand on the black the start screen clears to.
BG=40

# expect_top_rows N LINE...: rows 1 to N show the last N of the lines, as text printed from
# the top of the screen and scrolled up as far as it needs. Rows under them are left out: the
# cursor waits there, and the shell's prompt comes there once the program ends.
top_rows_are() { [ "$(screen_text | head -n "$1")" == "$2" ]; }
expect_top_rows() {
  local n=$1 wanted
  shift
  wanted=$(printf '%s\n' "$@" | tail -n "$n")
  wait_until 5 top_rows_are "$n" "$wanted" || fail "rows 1-$n should read:"$'\n'"$wanted"
}

# open_sheet: one Enter from the start screen or after a run; a new sheet stands there, its
# first question waiting for an answer.
open_sheet() {
  press Enter text_rows_are "$FRESH_SHEET"
  expect_colours "95/$BG" "$BANNER"
}

# measure LENGTH DIAMETER VOLUME: answers the two questions as they come; the sheet then
# ends in the volume, in white, and the hints.
measure() {
  type_text "$1"
  send_keys Enter
  wait_for_text 'rednica w centymetrach to niby jaka ma byc \?\?$'
  type_text "$2"
  send_keys Enter
  expect_colours "97/$BG" " $3$VOLUME_SUFFIX"
  SHEET_END=("$1" "$(rule _ 19)" "" "" "A ťrednica w centymetrach to niby jaka ma byc ??"
    "$(rule _ 46)" "$2" "$(rule _ 20)" "" "" "" " $3$VOLUME_SUFFIX" "$(rule '>' 26)" ""
    "Jezeli chcesz kontynuowac Nacisnij  Enter" "$(rule X 42)" ""
    "Jezeli chcesz skoĄczyc Naciśnij Esc" "$(rule _ 35)")
  expect_top_rows $(($(pane_info '#{pane_height}') - 1)) "${SHEET[@]}" "${SHEET_END[@]}"
}

scenario "three sheets in an 80x25 terminal, then Esc"
term_start 80 25
start_program
expect_text_rows "1:$TITLE" "3:$HINT"
open_sheet
# 25 rows scroll the sheet's top away, banner and all.
measure 10 40 1.256
open_sheet
measure 3 10 2.355e-002
open_sheet
measure 6 33 0.5129191
bell_rung && fail "the bell rang before the farewell"
press Escape screen_has "^$FAREWELL\$"
expect_top_rows 24 "${SHEET[@]}" "${SHEET_END[@]}" "" "" "" "$FAREWELL" "" "$CREDIT"
expect_colours "96/$BG" "$FAREWELL" "$CREDIT"
wait_until 5 bell_rung || fail "the farewell did not ring the bell"
wait_until 20 process_gone "$PROGRAM_PID" || fail "logvolume did not end by itself"
expect_ended 0

scenario "Esc as the first key, then the user's own screen again"
term_start 80 25
run_line "echo before logvolume"
start_program
expect_text_rows "1:$TITLE" "3:$HINT"
press Escape screen_has "^$FAREWELL\$"
expect_colours "31/$BG" "$TITLE" "$HINT"
expect_colours "96/$BG" "$FAREWELL" "$CREDIT"
wait_until 20 process_gone "$PROGRAM_PID" || fail "logvolume did not end by itself"
expect_ended 0
user_screen_back "before logvolume"

scenario "an 80x30 terminal scrolls the sheet less"
term_start 80 30
start_program
open_sheet
measure 10 40 1.256
expect_colours "95/$BG" "$BANNER"
# The script's end closes the terminal, which ends logvolume.

echo "PASS"
