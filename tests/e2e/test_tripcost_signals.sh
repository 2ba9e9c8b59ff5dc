#!/usr/bin/env bash
# tripcost under the signals and changes a terminal brings: Ctrl+C, Ctrl+Z and fg, resizing,
# SIGTERM, SIGHUP and the terminal closing. Each ends the program at once or leaves it
# working, and the terminal always comes back usable.
# Usage: test_tripcost_signals.sh <folder holding tripcost>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"

scenario "Ctrl+C on the start screen"
term_start 80 25
start_program
expect_start_screen 25
send_keys C-c
expect_ended 130

scenario "Ctrl+C on the farewell"
term_start 80 25
start_program
go_to_farewell
send_keys C-c
expect_ended 130

scenario "Ctrl+Z, then fg"
term_start 80 25
start_program
expect_start_screen 25
send_keys C-z
wait_for_text 'Stopped'
expect_shell_back
[[ $(ps -o stat= -p "$PROGRAM_PID") == T* ]] || fail "tripcost is not stopped"
run_line fg
# The program paints its whole screen again over what the shell wrote.
expect_start_screen 25
go_to_farewell
send_keys Space
expect_ended 0

scenario "resizing the terminal"
term_start 80 25
start_program
expect_start_screen 25
resize_terminal 100 30
wait_for_text "^$TITLE\$"
resize_terminal 60 20
wait_for_text "^$TITLE\$"
process_gone "$PROGRAM_PID" && fail "tripcost ended on a resize"
go_to_farewell
send_keys Space
expect_ended 0

scenario "SIGTERM"
term_start 80 25
start_program
expect_start_screen 25
kill -TERM "$PROGRAM_PID"
expect_ended 143

scenario "SIGHUP"
term_start 80 25
start_program
expect_start_screen 25
kill -HUP "$PROGRAM_PID"
expect_ended 129

scenario "the terminal closing"
term_start 80 25
start_program
expect_start_screen 25
term_tmux kill-pane -t e2e
# With its terminal gone the program must end, not spin on reads that fail.
wait_until 2 process_gone "$PROGRAM_PID" || fail "tripcost outlived its terminal"

echo "PASS"
