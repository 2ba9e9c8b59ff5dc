#!/usr/bin/env bash
# Ctrl+C in the terminal while tripcost's window is open: the program ends at once, its
# window goes, and the user's own screen comes back in a usable terminal.
# Usage: test_window_signals.sh <folder holding tripcost>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/window_lib.sh"
e2e_setup "${1:-}"
window_setup

scenario "Ctrl+C in the terminal with the window open"
term_start 80 25
run_line "echo before tripcost"
start_program
expect_start_screen 25
send_keys Enter
wait_for_window tripcost
expect_window_text "PODAJ DLUGOSC TRASY"
send_keys C-c
expect_ended 130
window_exists && fail "the window outlived the program"
user_screen_back "before tripcost"

echo "PASS"
