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
STARS=$(printf '*%.0s' {1..59})
# What each answer brings up: the next question, and after the last one the results.
AFTER_ANSWER=('^A CENA ZA JEDEN KILOMETR' '^Podaj koszt jednego litra paliwa$' '^LICZYMY W DWIE'
  '^A ILE PALI NA STO' 'DODATKOWE KOSZTY ILE' "^$ESC_HINT\$")
# The trip screen keeps the brown background of the start screen.
BG=43

# balance_row N: the balance line for a balance of N; 0x8A shows as 'Ő' in code page 852.
balance_row() { printf 'PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WIŐCEJ  %4s ZL' "$1"; }

# answer_from N ANSWER...: answers the questions from the Nth on, each answer ended with Enter
# once the program shows what the previous one brought up.
answer_from() {
  local n=$1 text
  shift
  for text in "$@"; do
    [ -z "$text" ] || type_text "$text"
    send_keys Enter
    wait_for_text "${AFTER_ANSWER[n - 1]}"
    n=$((n + 1))
  done
}

fresh_trip_screen() {
  [ "$(row_text 1)" == "$HEADING" ] && [ "$(row_text 6)" == "$FIRST_QUESTION" ] &&
    screen_lacks 'PRZEJECHANE'
}

# open_trip_screen: Enter from the start screen or after a run, pressed until the heading and
# the first question stand on a screen without results. Checks the heading.
open_trip_screen() {
  local before after shown t clock_ok=false
  before=$(date +%s)
  press_until Enter fresh_trip_screen
  after=$(date +%s)
  shown=$(row_text 2)
  [[ $shown =~ ^Twoja\ Godzina\ \ [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$ ]] ||
    fail "row 2 should show the time as \"Twoja Godzina  hh:mm:ss\""
  for ((t = before; t <= after; t++)); do
    [ "Twoja Godzina  $(date -d "@$t" +%T)" == "$shown" ] && clock_ok=true
  done
  $clock_ok || fail "row 2 shows a time outside $(date -d "@$before" +%T)-$(date -d "@$after" +%T)"
  # The date is month first; either reading counts if midnight passed meanwhile.
  local date_row
  date_row="Nasza Data             $(date -d "@$before" +%m-%d-%Y)"
  [ "$(row_text 4)" == "$date_row" ] ||
    date_row="Nasza Data             $(date -d "@$after" +%m-%d-%Y)"
  expect_text_rows "1:$HEADING" "2:$shown" "4:$date_row" "6:$FIRST_QUESTION"
  expect_line "$FIRST_QUESTION" "92/$BG"
}

answer_rows_are() {
  local wanted="" row=8 text
  for text in "$@"; do
    wanted+="$row:$text"$'\n'
    row=$((row + 1))
  done
  [ "$(screen_text | grep -n . | awk -F: '$1 > 7')" == "${wanted%$'\n'}" ]
}

# expect_answer_rows TEXT...: below the first question only the rows of the typed answer hold
# text, from row 8 on; no TEXT: the answer is empty.
expect_answer_rows() {
  wait_until 5 answer_rows_are "$@" && return 0
  fail "the typed answer should read, from row 8 on:" $'\n'"$(printf '%s\n' "$@")"
}

# expect_distance_and_fare KM FARE: the first results of a trip.
expect_distance_and_fare() {
  expect_line " PRZEJECHANE  $1 KM" "91/$BG"
  expect_line "CENA ZA PRZEJAZD =  ${2}PLN" "93/$BG"
}

scenario "the heading and a trip in profit"
term_start 80 25
start_program
expect_start_screen 25
open_trip_screen
expect_background 1 25 "$BG"
answer_from 1 100 1 4 2 7 20
expect_distance_and_fare 200 200
expect_line " PALIWA SPALONE 14  [LITRY]" "95/$BG"
expect_line "CENA ZA PALIWO =  56PLN" "92/$BG"
expect_line "$(balance_row 124)" "92/$BG"
expect_line "$STARS" "92/$BG"
expect_line "$ESC_HINT" "93/$BG"
expect_lines_in_order " PRZEJECHANE  200 KM" "CENA ZA PRZEJAZD =  200PLN" \
  " PALIWA SPALONE 14  [LITRY]" "CENA ZA PALIWO =  56PLN" "$(balance_row 124)" "$STARS" \
  "$ESC_HINT"
# The results scrolled the heading away; the last answers are still above them.
screen_lacks 'KALKULATOR TRASOKA' || fail "the screen did not scroll"
expect_lines_in_order "A ILE PALI NA STO ?" 7 "    DODATKOWE KOSZTY ILE ? np NA ZARCIE" 20 \
  " PRZEJECHANE  200 KM"
screen_lacks 'LECISZ NA MINUSIE' || fail "a trip in profit got the warning"
expect_background 1 25 "$BG"

scenario "Enter again: a fresh screen, and a trip at a loss"
open_trip_screen
answer_from 1 100 1 4 2 7 300
expect_line "$(balance_row -156)" "92/$BG"
expect_line "$WARNING" "35/$BG"
expect_lines_in_order "$(balance_row -156)" "$STARS" "$ESC_HINT" "$WARNING"
[ "$(row_text $((LINE_ROW - 1)))" == "" ] || fail "no blank row above the warning"

scenario "a fare past 32 bits wraps around"
open_trip_screen
answer_from 1 100000 100000 0 1 0 0
expect_distance_and_fare 100000 1410065408

scenario "more than two directions: the screen is cleared before the results"
open_trip_screen
answer_from 1 100 1 4 3 7 20
expect_text 4 2 "PRZEJECHANE  200 KM" "91/$BG"
[ "$(screen_text | head -n 3 | tr -d ' \n')" == "" ] || fail "rows 1-3 should be blank"
# Three directions count as two.
expect_lines_in_order " PRZEJECHANE  200 KM" "CENA ZA PRZEJAZD =  200PLN" \
  " PALIWA SPALONE 14  [LITRY]" "CENA ZA PALIWO =  56PLN" "$(balance_row 124)" "$STARS" \
  "$ESC_HINT"
screen_lacks 'DODATKOWE KOSZTY' || fail "the questions were not cleared"

scenario "Esc: the farewell, then a key ends the program"
bell_rung && fail "the bell rang before the farewell"
press_until Escape screen_lacks "$ESC_HINT"
wait_for_text '^KONIEC PRACY'
expect_text_rows "9:KONIEC PRACY  KALKULATORA !" \
  "23:$(printf '%56s' '')press any key to koniec" \
  "24:      autorzy: the textscreen authors"
wait_until 5 bell_rung || fail "the farewell did not ring the bell"
send_keys Space
expect_ended 0

scenario "the line editor: Backspace, and Esc clearing the typed text"
term_start 80 25
start_program
open_trip_screen
type_text 999
expect_answer_rows 999
send_keys Escape
expect_answer_rows
type_text 12
expect_answer_rows 12
send_keys BSpace
expect_answer_rows 1
type_text 5
expect_answer_rows 15
answer_from 1 "" 1 1 1 0 0
expect_distance_and_fare 15 15

scenario "the line editor: Home, End, Left and Delete"
open_trip_screen
type_text 1934
expect_answer_rows 1934
send_keys Home
type_text 2
expect_answer_rows 21934
send_keys End BSpace
expect_answer_rows 2193
send_keys Left Left DC
expect_answer_rows 213
answer_from 1 "" 1 1 1 0 0
expect_distance_and_fare 213 213

scenario "a long answer wraps and only its first 11 characters count"
open_trip_screen
# 11111111111 does not fit in 32 bits: the number stops at the largest one that does.
type_text "$(printf '1%.0s' {1..90})"
expect_answer_rows "$(printf '1%.0s' {1..80})" "$(printf '1%.0s' {1..10})"
answer_from 1 "" 1 1 1 0 0
expect_distance_and_fare 2147483647 2147483647
open_trip_screen
long="00000000042$(printf '7%.0s' {1..79})"
type_text "$long"
expect_answer_rows "${long:0:80}" "${long:80}"
answer_from 1 "" 1 1 1 0 0
expect_distance_and_fare 42 42

press_until Escape screen_lacks "$ESC_HINT"
wait_for_text '^KONIEC PRACY'
send_keys Space
expect_ended 0

echo "PASS"
