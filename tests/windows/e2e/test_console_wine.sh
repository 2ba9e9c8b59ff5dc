#!/usr/bin/env bash
# The Windows programs under Wine in a real terminal (tmux), where Wine's console shows them:
# a whole trip typed in, Polish letters typed and shown as code page 852 has them, Ctrl+C
# left to the system, and both programs with their keys from a pipe, to their farewell and
# status 0.
# Wine's console in a terminal gives the Esc key no character (Windows gives 27), so an Esc
# typed here is no key to the programs: the typed Esc is tested in a console of Windows' own
# kind (tests/windows/program_console_test.cpp), here it comes from a pipe.
# Usage: test_console_wine.sh <folder holding tripcost.exe and logvolume.exe> <Wine prefix>
# shellcheck disable=SC2119 # the helpers take their own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../../e2e/lib.sh"
[ -n "${2:-}" ] || { echo "usage: $0 <folder of the .exe files> <Wine prefix>" >&2; exit 2; }
export WINEPREFIX=$2 WINEDEBUG=-all

# use_program NAME: the Windows program start_program runs from now on.
use_program() {
  E2E_PROGRAM_NAME=$1.exe E2E_PROGRAM=$E2E_BIN_DIR/$1.exe
  [ -f "$E2E_PROGRAM" ] || fail "no program at $E2E_PROGRAM"
}
# Wine starts the program as a process of the program file's name.
program_runs_under() { PROGRAM_PID=$(pgrep -n -x "$E2E_PROGRAM_NAME"); }
start_program() {
  run_line "wine '$E2E_PROGRAM' $*"
  wait_until 10 program_runs_under || fail "$E2E_PROGRAM_NAME is not running"
  E2E_PIDS+=("$PROGRAM_PID")
}
e2e_cleanup() {
  term_stop
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  rm -rf "$E2E_WORK_DIR"
}
e2e_setup "$1"
out=$E2E_WORK_DIR/out.txt

AFTER_ANSWER=('^A CENA ZA JEDEN KILOMETR' '^Podaj koszt jednego litra paliwa$' '^LICZYMY W DWIE'
  '^A ILE PALI NA STO' 'DODATKOWE KOSZTY ILE' "^$ESC_HINT\$")

scenario "a whole trip typed in an 80x25 terminal"
term_start 80 25
start_program
expect_start_screen
press Enter screen_has "^$FIRST_QUESTION\$"
# Typed Polish letters come back as the console shows code page 852's: the same letters.
type_text "ąłż"
wait_until 5 screen_has '^ąłż$' || fail "typed Polish letters were not echoed as themselves"
for _ in 1 2 3; do send_keys BSpace; done
wait_until 5 screen_lacks 'ą' || fail "Backspace did not take the letters back"
answers=(100 1 4 2 7 20)
for n in "${!answers[@]}"; do
  type_text "${answers[n]}" && press Enter screen_has "${AFTER_ANSWER[n]}"
done
for text in "^ PRZEJECHANE  200 KM" "^CENA ZA PRZEJAZD =  200PLN" "^ PALIWA SPALONE 14  \[LITRY\]" \
  "^CENA ZA PALIWO =  56PLN" "^PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WIŐCEJ   124 ZL"; do
  wait_until 5 screen_has "$text" || fail "the results lack \"$text\""
done
# Ctrl+C is the system's: the program ends at once, as an interrupted console program does.
send_keys C-c
wait_until 10 process_gone "$PROGRAM_PID" || fail "Ctrl+C did not end the program"

scenario "keys from a pipe: a trip, the farewell, its key and status 0"
term_start 80 25
# The farewell's key comes late, so that the farewell is seen first: once the program has
# ended, Wine gives the terminal back with the screen the shell had.
run_line "{ printf '\\r100\\r1\\r4\\r2\\r7\\r20\\r\\033'; sleep 3; printf '\\r'; } | wine '$E2E_PROGRAM'; echo status \$?"
for row in "${FAREWELL_ROWS[@]}"; do
  wait_until 10 screen_has "^${row#*:}\$" || fail "the farewell lacks \"${row#*:}\""
done
wait_until 20 screen_has '^status 0$' || fail "the piped trip did not end with status 0"

scenario "keys from a pipe, text to a file: the bytes as the program wrote them"
printf '\r100\r1\r4\r2\r7\r20\r\033\r' | timeout 20 wine "$E2E_PROGRAM" >"$out" ||
  fail "the redirected trip did not end with status 0"
LC_ALL=C grep -a -q $'MNIEJ WI\x8aCEJ   124 ZL' "$out" || fail "the file lacks the result's own bytes"
LC_ALL=C grep -a -q 'KONIEC PRACY' "$out" || fail "the file lacks the farewell"

scenario "keys that run out end the program as a closed console ends it"
# Windows ends a process whose console closes with STATUS_CONTROL_C_EXIT; a shell sees its
# low byte.
status=0
printf '\r100\r1' | timeout 20 wine "$E2E_PROGRAM" >"$out" || status=$?
[ "$status" == $((0xC000013A & 255)) ] || fail "a script that ran out ended with status $status"
LC_ALL=C grep -a -q 'A CENA ZA JEDEN KILOMETR' "$out" || fail "the keys before the end were lost"

scenario "logvolume from a pipe ends by itself after its farewell"
use_program logvolume
printf '\r10\r40\r\033' | timeout 20 wine "$E2E_PROGRAM" >"$out" ||
  fail "logvolume did not end with status 0"
grep -a -q '^ 1.256Tyle fast metrow Robaczku!' "$out" || fail "the log's volume is not 1.256"

echo "PASS: the Windows programs under Wine in a terminal"
