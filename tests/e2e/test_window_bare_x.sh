#!/usr/bin/env bash
# tripcost's window on a bare X server, with no window manager to grant full screen:
# Alt+Enter leaves the window as it is, showing its frame, and it still takes keys; then
# Ctrl+C in the terminal ends the program at once, its window goes, and the user's own
# screen comes back in a usable terminal.
# Usage: test_window_without_manager.sh <folder holding tripcost>
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$(dirname "$0")/window_lib.sh"
e2e_setup "${1:-}"
WINDOW_MANAGER=none window_setup

scenario "Alt+Enter with no window manager keeps the window"
term_start 80 25
run_line "echo before tripcost"
start_program
expect_start_screen
send_keys Enter
wait_for_window tripcost
expect_window_text "PODAJ DLUGOSC TRASY"
window_keys alt+Return
sleep 0.5
expect_window_size 640x480
expect_window_text "PODAJ DLUGOSC TRASY"
window_type 100
expect_window_text "^8:100\$"

scenario "Ctrl+C in the terminal with the window open"
send_keys C-c
expect_ended 130
window_exists && fail "the window outlived the program"
user_screen_back "before tripcost"

echo "PASS"
