#!/usr/bin/env bash
# tripcost under the signals and changes a terminal brings: Ctrl+C, Ctrl+Z and fg, SIGTERM,
# SIGHUP, the terminal closing and resizing. Each ends the program at once or leaves it
# working, and the terminal always comes back usable: the next scenario runs tripcost again
# in the same terminal, as a user would.
# Usage: test_tripcost_signals.sh <folder holding tripcost>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"

# start: runs tripcost and waits for its start screen, and for no other row than its two: a
# start screen left over from the run before must not count.
start() {
  start_program
  expect_text_rows "3:$TITLE" "6:$HINT"
}

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
[[ $(ps -o stat= -p "$PROGRAM_PID") == T* ]] || fail "tripcost is not stopped"
run_line fg
# The program paints its whole screen again over what the shell wrote.
expect_start_screen
go_to_farewell
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
# the next question shows its code page letters, in place.
press Enter screen_has 'PODAJ DLUGOSC'
resize_terminal 80 1
type_text 5
resize_terminal 80 25
send_keys Enter
wait_for_text '^A CENA ZA JEDEN KILOMETR TO NIBY JAKA MA BYÇ \?$'
process_gone "$PROGRAM_PID" && fail "tripcost ended on a resize"
send_keys C-c
expect_ended 130

echo "PASS"
