#!/usr/bin/env bash
# logvolume as a user meets it in a terminal, in one whole run: the start screen, the log
# sheet with its two questions and the volume, scrolled as far as 25 rows ask, and the
# farewell after Esc, which rings the bell, ends the program by itself and gives the user's
# own screen back.
# Usage: test_logvolume.sh <folder holding logvolume>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}" logvolume

TITLE=" Pieniomat do Drewna Okraglego"
HINT="Nacisnij Enter jesli chcesz kontynuowac lub ESC by zakonczyc"
FAREWELL="Zakończyłeś działanie pieniomata!"
CREDIT="Program napisali autorzy textscreen"
VOLUME=" 1.256Tyle fast metrow Robaczku!"
# The sheet's lines as printed from the top of the screen. The bytes above 127 in the texts
# show as code page 852 has them.
SHEET=("" "" "Autor programu: the textscreen authors" "" ""
  "Program jest przeznaczony równiez dla ludzi prostych" "" ""
  "TO JEST PROGRAM ZA FREEKO ALE ZA KAzDY NASTĘPNY NALEZá SIŐ" "" ""
  "$(printf '%25s' '')DWA  PIWA !!!" "" "Automatyczny Pieniomat do Drewna" "" "" "" "" ""
  "Podaj dlugosc w metrach i nacisnij Enter" "$(rule _ 40)")
SHEET_END=(10 "$(rule _ 19)" "" "" "A ťrednica w centymetrach to niby jaka ma byc ??"
  "$(rule _ 46)" 40 "$(rule _ 20)" "" "" "" "$VOLUME" "$(rule '>' 26)" ""
  "Jezeli chcesz kontynuowac Nacisnij  Enter" "$(rule X 42)" ""
  "Jezeli chcesz skoĄczyc Naciśnij Esc" "$(rule _ 35)")

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

scenario "a sheet in an 80x25 terminal, then Esc"
term_start 80 25
run_line "echo before logvolume"
start_program
expect_text_rows "1:$TITLE" "3:$HINT"
press Enter text_rows_are "$(numbered 1 "${SHEET[@]}")"
type_text 10 && press Enter screen_has 'rednica w centymetrach to niby jaka ma byc \?\?$'
type_text 40 && send_keys Enter
wait_for_text "^$VOLUME\$"
bell_rung && fail "the bell rang before the farewell"
press Escape screen_has "^$FAREWELL\$"
# 25 rows scroll the sheet's top away, banner and all.
expect_top_rows 24 "${SHEET[@]}" "${SHEET_END[@]}" "" "" "" "$FAREWELL" "" "$CREDIT"
wait_until 5 bell_rung || fail "the farewell did not ring the bell"
wait_until 20 process_gone "$PROGRAM_PID" || fail "logvolume did not end by itself"
expect_ended 0
user_screen_back "before logvolume"

echo "PASS"
