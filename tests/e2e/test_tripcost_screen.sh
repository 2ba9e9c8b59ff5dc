#!/usr/bin/env bash
# The trip cost screen of tripcost as a user meets it in an 80x25 terminal: the heading, the
# six questions, the results as they scroll up, the warning for a trip at a loss, sums that
# pass 32 bits, a fresh screen on every Enter, the line editor of the answers, and the way
# out through the farewell.
# Usage: test_tripcost_screen.sh <folder holding tripcost>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"

HEADING="$(printf '%39s' '')KALKULATOR TRASOKA"
FIRST_QUESTION="$(printf '%13s' '')PODAJ DLUGOSC TRASY W KILOMETRACH I NACISNIJ ENTER"
ESC_HINT="       NACISNIJ ESC JAK CHCESZ ZAKONCZYC"
WARNING="$(printf '%19s' ''){LECISZ NA MINUSIE FRAJERZE}"
# What each answer brings up: the next question, and after the last one the results.
AFTER_ANSWER=('^A CENA ZA JEDEN KILOMETR' '^Podaj koszt jednego litra paliwa$' '^LICZYMY W DWIE'
  '^A ILE PALI NA STO' 'DODATKOWE KOSZTY ILE' "^$ESC_HINT\$")
# The trip screen keeps the brown background of the start screen.
BG=43

# answer ANSWER...: answers the six questions, each answer ended with Enter once the program
# shows what the previous one brought up. An empty first ANSWER takes the text typed already.
answer() {
  local n=0 text
  for text; do
    type_text "$text"
    send_keys Enter
    wait_for_text "${AFTER_ANSWER[n++]}"
  done
}

# open_trip_screen: one Enter from the start screen or after a run; a fresh screen asks the first question (in green) under the heading, the time and the date, month first.
# TRIP_TOP is then that screen's rows.
open_trip_screen() {
  local before after t
  before=$(date +%s)
  press Enter screen_has "^$FIRST_QUESTION\$"
  after=$(date +%s)
  for ((t = before; t <= after; t++)); do
    TRIP_TOP=("1:$HEADING" "2:Twoja Godzina  $(date -d "@$t" +%T)"
      "4:Nasza Data             $(date -d "@$t" +%m-%d-%Y)" "6:$FIRST_QUESTION")
    text_rows_are "$(printf '%s\n' "${TRIP_TOP[@]}")" && break
  done
  expect_text_rows "${TRIP_TOP[@]}"
  expect_colours "92/$BG" "$FIRST_QUESTION"
}

# expect_typed TEXT...: under the first question only the typed answer shows, from row 8 on.
expect_typed() { expect_text_rows "${TRIP_TOP[@]}" "$(numbered 8 "$@")"; }

# results ROW KM FARE LITRES FUEL BALANCE: the rows of a trip's results, from row ROW on. The
# byte 0x8A of the balance row shows as 'Ő', as in code page 852.
results() {
  numbered "$1" " PRZEJECHANE  $2 KM" " $(rule _ 22)" "" "" "CENA ZA PRZEJAZD =  ${3}PLN" "" "" \
    " PALIWA SPALONE $4  [LITRY]" "" "" "CENA ZA PALIWO =  ${5}PLN" "" "" \
    "$(printf 'PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WIŐCEJ  %4s ZL' "$6")" "$(rule '*' 59)" "" \
    "$ESC_HINT"
}

scenario "the heading and a trip in profit"
term_start 80 25
start_program
open_trip_screen
answer 100 1 4 2 7 20
# The results scrolled the heading away; the last answers are still above them.
expect_text_rows "1:A ILE PALI NA STO ?" "3:7" "4:    DODATKOWE KOSZTY ILE ? np NA ZARCIE" "5:20" \
  "$(results 8 200 200 14 56 124)"
expect_colours "91/$BG" " PRZEJECHANE  200 KM"
expect_colours "93/$BG" "CENA ZA PRZEJAZD =  200PLN" "$ESC_HINT"
expect_colours "95/$BG" " PALIWA SPALONE 14  [LITRY]"
expect_colours "92/$BG" "CENA ZA PALIWO =  56PLN" "$(rule '*' 59)" \
  "PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WIŐCEJ   124 ZL"
expect_background 1 25 "$BG"

scenario "Enter again: a fresh screen, and a trip at a loss"
open_trip_screen
answer 100 1 4 2 7 300
# The warning comes last, under a blank row.
expect_text_rows "1:7" "2:    DODATKOWE KOSZTY ILE ? np NA ZARCIE" "3:300" \
  "$(results 6 200 200 14 56 -156)" "24:$WARNING"
expect_colours "35/$BG" "$WARNING"

scenario "a fare past 32 bits wraps around"
open_trip_screen
answer 100000 100000 0 1 0 0
wait_for_text '^CENA ZA PRZEJAZD =  1410065408PLN$'

scenario "more than two directions count as two, on a screen cleared before the results"
open_trip_screen
answer 100 1 4 3 7 20
expect_text_rows "$(results 4 200 200 14 56 124)"

scenario "Esc: the farewell, then a key ends the program"
bell_rung && fail "the bell rang before the farewell"
go_to_farewell "$ESC_HINT"
expect_text_rows "${FAREWELL_ROWS[@]}"
wait_until 5 bell_rung || fail "the farewell did not ring the bell"
send_keys Space
expect_ended 0

scenario "the line editor: Backspace, and Esc clearing the typed text"
start_program
open_trip_screen
type_text 999
expect_typed 999
send_keys Escape
expect_typed
type_text 12
send_keys BSpace
expect_typed 1
type_text 5
expect_typed 15
answer "" 1 1 1 0 0
wait_for_text '^ PRZEJECHANE  15 KM$'

scenario "the line editor: Home, End, Left and Delete"
open_trip_screen
type_text 1934
send_keys Home
type_text 2
expect_typed 21934
send_keys End BSpace
expect_typed 2193
send_keys Left Left DC
expect_typed 213
answer "" 1 1 1 0 0
wait_for_text '^ PRZEJECHANE  213 KM$'

scenario "a long answer wraps and only its first 11 characters count"
open_trip_screen
# 11111111111 does not fit in 32 bits: the number stops at the largest one that does.
type_text "$(rule 1 90)"
expect_typed "$(rule 1 80)" "$(rule 1 10)"
answer "" 1 1 1 0 0
wait_for_text '^ PRZEJECHANE  2147483647 KM$'
open_trip_screen
type_text "00000000042$(rule 7 79)"
answer "" 1 1 1 0 0
wait_for_text '^ PRZEJECHANE  42 KM$'

echo "PASS"
