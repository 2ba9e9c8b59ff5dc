#!/usr/bin/env bash
# Both programs as a user meets them in a terminal: one whole run of each (start screen,
# calculation, farewell with its bell, and the way back to a usable shell and the user's own
# screen), tripcost's texts going to a file when standard output is redirected, tripcost under
# the signals and changes a terminal brings, and both programs with their keys from a pipe.
# Usage: test_console.sh <folder holding tripcost and logvolume>
# shellcheck disable=SC2119 # the helpers take their own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"

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
press Escape screen_lacks "$ESC_HINT"
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
send_keys Space
expect_ended 0
# Only the texts, no escape sequences.
expected=$(printf '%s\n' "$TITLE" "$HINT" Koniec "" "" $'\x03 KALKULATOR TRASOKA \x06' "" "" "" "" "" \
  "" "" "" "$(printf '%38s' '')napisali autorzy textscreen" 'press any key to koniec' \
  'autorzy: the textscreen authors' 'KONIEC PRACY  KALKULATORA !')
diff <(echo "$expected") <(tr -d '\r' <"$out") >"$E2E_WORK_DIR/out.diff" ||
  fail "out.txt differs from the texts printed (- wanted, + got):"$'\n'"$(cat -v "$E2E_WORK_DIR/out.diff")"


use_program logvolume
LOG_TITLE=" Pieniomat do Drewna Okraglego"
LOG_HINT="Nacisnij Enter jesli chcesz kontynuowac lub ESC by zakonczyc"
LOG_FAREWELL="Zakończyłeś działanie pieniomata!"
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

scenario "a log sheet in an 80x25 terminal, then Esc"
term_start 80 25
run_line "echo before logvolume"
start_program
expect_text_rows "1:$LOG_TITLE" "3:$LOG_HINT"
press Enter text_rows_are "$(numbered 1 "${SHEET[@]}")"
type_text 10 && press Enter screen_has 'rednica w centymetrach to niby jaka ma byc \?\?$'
type_text 40 && send_keys Enter
wait_for_text "^$VOLUME\$"
bell_rung && fail "the bell rang before the farewell"
press Escape screen_has "^$LOG_FAREWELL\$"
# 25 rows scroll the sheet's top away, banner and all: rows 1-24 hold the last 24 lines
# printed (the cursor waits under them, where the shell's prompt comes once the program ends).
top=$(printf '%s\n' "${SHEET[@]}" "${SHEET_END[@]}" "" "" "" "$LOG_FAREWELL" "" \
  "Program napisali autorzy textscreen" | tail -n 24)
top_rows_are() { [ "$(screen_text | head -n 24)" == "$top" ]; }
wait_until 5 top_rows_are || fail "rows 1-24 should read:"$'\n'"$top"
wait_until 5 bell_rung || fail "the farewell did not ring the bell"
expect_ended 0 20
user_screen_back "before logvolume"

use_program tripcost
# The signals and changes a terminal brings: each ends the program at once or leaves it
# working, and the terminal always comes back usable, for the next run in the same terminal.
# start: runs tripcost and waits for its start screen alone: one left over from the run
# before must not count.
start() { start_program && expect_start_screen; }

scenario "Ctrl+C on the start screen gives the user's screen back"
term_start 80 25
run_line "echo before tripcost"
start
send_keys C-c
expect_ended 130
user_screen_back "before tripcost"

scenario "Ctrl+Z, then fg"
start
send_keys C-z
wait_for_text 'Stopped'
screen_lacks Kalkulator || fail "the start screen stayed while tripcost was stopped"
expect_shell_back
run_line fg
# The program paints its whole screen again over what the shell wrote.
expect_start_screen
# Esc, once read, leads to the farewell, which waits for the next key.
press Escape screen_lacks Kalkulator
send_keys Space
expect_ended 0

for signal in TERM:143 HUP:129; do
  scenario "SIG${signal%:*}"
  start
  kill "-${signal%:*}" "$PROGRAM_PID"
  expect_ended "${signal#*:}"
done

scenario "the terminal closing"
start
term_tmux kill-pane -t e2e
# With its terminal gone the program must end, not spin on reads that fail.
wait_until 2 process_gone "$PROGRAM_PID" || fail "tripcost outlived its terminal"

scenario "resizing the terminal"
term_start 80 25
start
resize_terminal 60 20
wait_for_text "^$TITLE\$"
# Dragged down to one row while a key is typed, it is still a console when it grows back:
# what it showed is back, and the next question shows its code page letters, in place.
press Enter screen_has 'PODAJ DLUGOSC'
resize_terminal 80 1
type_text 5
resize_terminal 80 25
wait_for_text 'PODAJ DLUGOSC TRASY W KILOMETRACH'
send_keys Enter
wait_for_text '^A CENA ZA JEDEN KILOMETR TO NIBY JAKA MA BYÇ \?$'
send_keys C-c
expect_ended 130

LOGVOLUME=$E2E_BIN_DIR/logvolume

# expect_run PROGRAM KEYS STATUS [TEXT COUNT]...: PROGRAM with KEYS (printf escapes) as its
# input ends with STATUS, its output holding each TEXT COUNT times.
expect_run() {
  local status=0 name=${1##*/} i j count
  # In a subshell, so that the shell's word on a program ended by a signal stays out of the log.
  (printf "$2" | timeout 20 "$1" >"$out"; exit $?) 2>/dev/null || status=$?
  [ "$status" == "$3" ] || fail "$name ended with status $status, not $3"
  for ((i = 4, j = 5; i < $#; i += 2, j += 2)); do
    count=$(LC_ALL=C grep -a -c -- "${!i}" "$out" || true)
    [ "$count" == "${!j}" ] || fail "$name showed \"${!i}\" $count times, not ${!j}"
  done
}

# tripcost's farewell waits for a key: when the keys have run out, the close (129) ends it.
scenario "twenty Enters open twenty screens, then one Esc the farewell"
expect_run "$E2E_PROGRAM" "$(printf '\\r1\\r1\\r1\\r1\\r1\\r1\\r%.0s' {1..20})\\x1b" 129 \
  'PODAJ DLUGOSC TRASY' 20 'KONIEC PRACY' 1
expect_run "$LOGVOLUME" "$(printf '\\r10\\r40\\r%.0s' {1..20})\\x1b" 0 \
  ' 1.256Tyle fast metrow Robaczku!' 20 'anie pieniomata!' 1

scenario "Esc as the first key, twenty times in each program"
for ((run = 0; run < 20; run++)); do
  expect_run "$E2E_PROGRAM" '\x1b' 129 'KONIEC PRACY' 1
  expect_run "$LOGVOLUME" '\x1b' 0 'anie pieniomata!' 1
done

scenario "no keys at all, and a key after a pause, which is a key of its own"
expect_run "$E2E_PROGRAM" '' 129
{ printf '\x1b' && sleep 0.3 && printf ' ' && sleep 5; } | timeout 5 "$E2E_PROGRAM" >"$out" ||
  fail "the farewell's key did not end it"

scenario "the README's scripted run writes the whole calculation and ends with status 0"
expect_run "$E2E_PROGRAM" '\r100\r1\r4\r2\r7\r20\r\x1b\r' 0 \
  'PRZEJECHANE  200 KM' 1 '124 ZL' 1 'KONIEC PRACY' 1

scenario "redirected text is UTF-8 on a UTF-8 locale, the program's own bytes elsewhere"
LC_ALL=C.UTF-8 expect_run "$E2E_PROGRAM" '\r100\r1\r4\r2\r7\r20\r\x1b\r' 0 'MNIEJ WIŐCEJ   124 ZL' 1
LC_ALL=C expect_run "$E2E_PROGRAM" '\r100\r1\r4\r2\r7\r20\r\x1b\r' 0 $'MNIEJ WI\x8aCEJ   124 ZL' 1

# More keys than the key queue holds: the rest waits in the pipe, and none is lost.
scenario "two hundred calculations in one pipe"
expect_run "$E2E_PROGRAM" "$(printf '\\r100\\r1\\r4\\r2\\r7\\r20\\r%.0s' {1..200})\\x1b\\r" 0 \
  'PRZEJECHANE  200 KM' 200 'MNIEJ WI.*124 ZL' 200 'KONIEC PRACY' 1

scenario "a 10,000-digit answer, and the answers after it on their own questions"
# The price per kilometre is the long one: every other result of that trip stays right.
expect_run "$E2E_PROGRAM" "\\r100\\r$(printf '7%.0s' {1..10000})\\r4\\r2\\r7\\r20\\r\\r100\\r1\\r4\\r2\\r7\\r20\\r\\x1b\\r" 0 \
  'PRZEJECHANE  200 KM' 2 'PALIWA SPALONE 14 ' 2 'CENA ZA PALIWO =  56PLN' 2 '124 ZL' 1

scenario "eighty log volumes pasted into the terminal"
# The results go to a file, where each one can be counted; the keys come from the terminal.
use_program logvolume
start_program "> out.txt"
wait_until 5 file_has "Pieniomat" || fail "the start screen never reached out.txt"
term_tmux set-buffer -- "$(printf '\r10\r40\r%.0s' {1..80})"
term_tmux paste-buffer -t e2e
pasted_runs_done() { [ "$(grep -a -c 'Tyle fast metrow' "$out")" -ge 80 ]; }
wait_until 20 pasted_runs_done || fail "$(grep -a -c 'Tyle fast metrow' "$out") of 80 runs ended"
[ "$(grep -a -c '^ 1.256Tyle fast metrow Robaczku!' "$out")" == 80 ] || fail "a pasted run went wrong"
send_keys Escape
expect_ended 0 5
use_program tripcost

scenario "an unknown option is refused"
for program in "$E2E_PROGRAM" "$LOGVOLUME"; do
  status=0
  "$program" --bogus </dev/null >"$out" 2>"$out.err" || status=$?
  [ "$status" == 2 ] && [ ! -s "$out" ] && grep -q "unknown option '--bogus'" "$out.err" &&
    grep -q "^Usage: $(basename "$program")" "$out.err" || fail "$(basename "$program") --bogus ended with $status"
done

scenario "--help and --version"
for program in "$E2E_PROGRAM" "$LOGVOLUME"; do
  name=$(basename "$program")
  "$program" --help </dev/null >"$out" && head -n 1 "$out" | grep -q "^Usage: $name" &&
    grep -q VXGFX "$out" && ! grep -q $'\e' "$out" || fail "$name --help printed:"$'\n'"$(cat -v "$out")"
  [ "$("$program" --version)" == "$name 0.1" ] || fail "$name --version printed the wrong thing"
done
echo "PASS"
