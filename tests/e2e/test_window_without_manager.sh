#!/usr/bin/env bash
# tripcost's window on a bare X server, with no window manager to grant full screen:
# Alt+Enter leaves the window as it is, showing its frame, and it still takes keys.
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
start_program
expect_start_screen 25
send_keys Enter
wait_for_window tripcost
expect_window_text "PODAJ DLUGOSC TRASY"
window_keys alt+Return
sleep 0.5
expect_window_size 640x480
expect_window_text "PODAJ DLUGOSC TRASY"
window_type 100
expect_window_text "^8:100\$"
send_keys C-c
expect_ended 130

echo "PASS"
