#!/usr/bin/env bash
# The graphics window's figures, run by hand on a release build:
#   (a) open time: Enter pressed in the terminal to the first frame showing the screen's
#       heading, polled with XGetImage on the window's first text row;
#   (b) key to echo: a digit sent to the window to the frame showing it, over COUNT keys;
#   (c) the processor time of each of the program's threads over 10 s, its window open and
#       waiting for an answer.
# Usage: bench/window_latency.sh <folder holding tripcost> [COUNT]
# shellcheck disable=SC2119 # start_program takes its own arguments, not the script's
set -euo pipefail
HERE=$(dirname "$0")
# shellcheck source=tests/e2e/lib.sh
source "$HERE/../tests/e2e/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$HERE/../tests/e2e/window_lib.sh"
e2e_setup "${1:-}"
window_setup
COUNT=${2:-200}
# The cells read: the heading's "K" (row 0) and the first answer's first character (row 7).
HEADING_COLUMN=39 ANSWER_ROW=7

percentiles() {
  sort -n | awk '{ v[NR] = $1 } END {
    printf "n=%d  p50=%.1f ms  p99=%.1f ms  max=%.1f ms\n", NR,
      v[int(NR * 0.5 + 0.5)], v[int(NR * 0.99 + 0.5)], v[NR] }'
}

echo "(a) window open time, 5 runs:"
for run in 1 2 3 4 5; do
  term_start 80 25
  start_program
  expect_start_screen 25
  python3 "$HERE/window_latency.py" open tripcost "$HEADING_COLUMN" 0 >"$E2E_WORK_DIR/lit" &
  sleep 0.5 # the watcher is up and polling
  begin=$EPOCHREALTIME
  send_keys Enter
  wait $!
  awk -v begin="$begin" '{ printf "  %.1f ms\n", ($1 - begin) * 1000 }' "$E2E_WORK_DIR/lit"
  if ((run < 5)); then send_keys C-c && expect_ended 130; fi
done

echo "(b) key to echo over $COUNT keys:"
WINDOW_TITLE=tripcost
python3 "$HERE/window_latency.py" keys "$(window_id)" 0 "$ANSWER_ROW" "$COUNT" | percentiles

echo "(c) processor time over 10 s, window open and waiting for an answer:"
ticks=$(getconf CLK_TCK)
declare -A before
for task in /proc/"$PROGRAM_PID"/task/*; do
  before[$task]=$(awk '{ print $14 + $15 }' "$task/stat")
done
sleep 10
for task in "${!before[@]}"; do
  used=$(($(awk '{ print $14 + $15 }' "$task/stat") - before[$task]))
  awk -v used="$used" -v ticks="$ticks" -v name="$(cat "$task/comm")" -v tid="${task##*/}" \
    'BEGIN { printf "  thread %s (%s): %.2f %% of a core\n", tid, name, used * 100 / (ticks * 10) }'
done
send_keys C-c
expect_ended 130
