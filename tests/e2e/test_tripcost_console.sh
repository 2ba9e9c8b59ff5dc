#!/usr/bin/env bash
# tripcost as a user meets it in a terminal: one whole run (the start screen in the 30-row
# view, a trip with the time and date of the clock, the farewell after Esc and the way back
# to a usable shell and the user's own screen), then the texts going to a file when standard
# output is redirected.
# Usage: test_tripcost_console.sh <folder holding tripcost>
# shellcheck disable=SC2119 # the helpers take their own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"

HEADING="$(printf '%39s' '')KALKULATOR TRASOKA"
FIRST_QUESTION="$(printf '%13s' '')PODAJ DLUGOSC TRASY W KILOMETRACH I NACISNIJ ENTER"
ESC_HINT="       NACISNIJ ESC JAK CHCESZ ZAKONCZYC"
# What each answer brings up: the next question, and after the last one the results.
AFTER_ANSWER=('^A CENA ZA JEDEN KILOMETR' '^Podaj koszt jednego litra paliwa$' '^LICZYMY W DWIE'
  '^A ILE PALI NA STO' 'DODATKOWE KOSZTY ILE' "^$ESC_HINT\$")

scenario "a whole run in an 80x30 terminal"
term_start 80 30
run_line "echo before tripcost"
start_program
expect_start_screen
# A fresh screen asks the first question under the heading, the time and the date, month
# first, as the clock had them at one of the seconds the Enter took.
before=$(date +%s)
press Enter screen_has "^$FIRST_QUESTION\$"
for ((t = before; t <= $(date +%s); t++)); do
  top=$(numbered 1 "$HEADING" "Twoja Godzina  $(date -d "@$t" +%T)" "" \
    "Nasza Data             $(date -d "@$t" +%m-%d-%Y)" "" "$FIRST_QUESTION")
  text_rows_are "$top" && break
done
expect_text_rows "$top"
answers=(100 1 4 2 7 20)
for n in "${!answers[@]}"; do
  type_text "${answers[n]}" && press Enter screen_has "${AFTER_ANSWER[n]}"
done
# The results scrolled the heading away; the last answers are still above them.
expect_text_rows "$(numbered 1 4 "LICZYMY W DWIE CZY W JEDNá STRONé ?" "" "" 2 "A ILE PALI NA STO ?" \
  "" 7 "    DODATKOWE KOSZTY ILE ? np NA ZARCIE" 20 "" "" " PRZEJECHANE  200 KM" " $(rule _ 22)" \
  "" "" "CENA ZA PRZEJAZD =  200PLN" "" "" " PALIWA SPALONE 14  [LITRY]" "" "" \
  "CENA ZA PALIWO =  56PLN" "" "" "PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WIŐCEJ   124 ZL" \
  "$(rule '*' 59)" "" "$ESC_HINT")"
bell_rung && fail "the bell rang before the farewell"
go_to_farewell "$ESC_HINT"
expect_text_rows "${FAREWELL_ROWS[@]}"
wait_until 5 bell_rung || fail "the farewell did not ring the bell"
# The farewell waits for a key.
sleep 0.5
process_gone "$PROGRAM_PID" && fail "tripcost ended before a key was pressed"
send_keys Space
# The user's own screen comes back as it was, the cursor shown.
expect_ended 0
user_screen_back "before tripcost"
[ "$(pane_info '#{cursor_flag}')" == 1 ] || fail "the cursor is hidden"

scenario "standard output redirected to a file"
start_program "> out.txt"
out="$E2E_WORK_DIR/out.txt"
file_has() { grep -q -- "$1" "$out" 2>/dev/null; }
wait_until 5 file_has "$TITLE" || fail "the title never reached out.txt"
# Nothing of the program shows on the terminal; the keys still come from it.
screen_lacks 'Kalkulator' || fail "the title went to the terminal, not to the file"
press Escape file_has Koniec
wait_until 5 file_has "KONIEC PRACY" || fail "the farewell never reached out.txt"
send_keys Space
expect_ended 0
# Only the texts, no escape sequences.
expected=$(
  printf '%s\n' "$TITLE" "$HINT" Koniec "" "" $'\x03 KALKULATOR TRASOKA \x06'
  printf '\n%.0s' {1..8}
  printf '%38s%s\n' '' 'napisali autorzy textscreen'
  printf '%s\n' 'press any key to koniec' 'autorzy: the textscreen authors' \
    'KONIEC PRACY  KALKULATORA !'
)
diff <(echo "$expected") <(tr -d '\r' <"$out") >"$E2E_WORK_DIR/out.diff" ||
  fail "out.txt differs from the texts printed (- wanted, + got):"$'\n'"$(cat -v "$E2E_WORK_DIR/out.diff")"

echo "PASS"
