#!/usr/bin/env bash
# tripcost as a user meets it in a terminal: the start screen, the farewell after Esc, the
# way back to a usable shell, the 30-row view, and the texts going to a file when standard
# output is redirected.
# Usage: test_tripcost_console.sh <folder holding tripcost>
# shellcheck disable=SC2119 # the helpers take their own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"

scenario "start screen, farewell and exit in an 80x25 terminal"
term_start 80 25
run_line "echo before tripcost"
start_program
# An 80x25 terminal cannot give the 30-row view: the 25 rows it has are all brown.
expect_start_screen 25
go_to_farewell
expect_text_rows "${FAREWELL_ROWS[@]}"
expect_background 1 8 101
expect_background 9 16 41
expect_background 17 25 47
expect_colours 37/41 "KONIEC PRACY  " "!"
expect_colours 95/41 "KALKULATORA"
expect_colours 30/47 "press any key to koniec"
expect_colours 95/47 "autorzy: the textscreen authors"
# The farewell waits for a key.
sleep 0.5
process_gone "$PROGRAM_PID" && fail "tripcost ended before a key was pressed"
send_keys Space
# The user's own screen comes back as it was, the cursor shown.
expect_ended 0
user_screen_back "before tripcost"
[ "$(pane_info '#{cursor_flag}')" == 1 ] || fail "the cursor is hidden"

scenario "the 30-row view once the terminal has 30 rows"
resize_terminal 80 30
start_program
expect_start_screen 30
go_to_farewell
send_keys Space
expect_ended 0

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
