#!/usr/bin/env bash
# The Windows programs' window figures under Wine beside the Linux SDL window, run by hand, all
# on one X server (Xvfb with a window manager) in the same run, each program in a fresh tmux
# terminal:
#   (a) open time: Enter pressed in the terminal to the first frame showing the heading's "K"
#       (column 39, row 0), 5 runs each: tripcost.exe with DirectX (VXGFX unset) and with
#       VXGFX=gdi, bare_window.exe (the least that opening a window costs under Wine) and the
#       Linux tripcost;
#   (b) key to echo over COUNT keys at random moments (the first answer, row 7): DirectX, GDI
#       and SDL;
#   (c) idle, for 5 s waiting for the first answer and 5 s in the key loop after the results
#       (from 5 s after them: the loop's poll waits lengthen over its first 4 s): each
#       thread's processor ticks and wake-ups (voluntary and involuntary context switches) a
#       second; under Wine also the wine server's, which does the work of Wine's round trips,
#       and Wine's desktop process's.
# Each Wine window opens with no other Wine window standing, so Wine's desktop process
# (explorer.exe) starts with it as it does for a user's first Wine window: an open waits until
# the desktop of the last window has gone.
# The Wine prefix is $WINEPREFIX, else build/wine-prefix of this tree (made when missing). A
# wine server already running for it (tests/windows/wine_session.sh start) is used as it is;
# otherwise the script starts a persistent one, with the prefix's services, and ends it at the
# end.
# Usage: bench/windows/window_latency_wine.sh <folder of tripcost.exe and bare_window.exe>
#          <folder of the Linux tripcost> [COUNT]   (COUNT: 200)
# e.g.   cmake --preset windows-x64 && cmake --build --preset windows-x64 --target tripcost bare_window
#        cmake --preset release && cmake --build --preset release --target tripcost
#        bench/windows/window_latency_wine.sh build/windows-x64/bin build/release/bin
# shellcheck disable=SC2119 # the helpers take their own arguments, not the script's
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$REPO/tests/e2e/lib.sh"
# shellcheck source=tests/e2e/window_lib.sh
source "$REPO/tests/e2e/window_lib.sh"
LATENCY="$REPO/bench/window_latency.py"
USAGE="usage: $0 <folder of tripcost.exe and bare_window.exe> <folder of the Linux tripcost> [COUNT]"
[ -n "${2:-}" ] || { echo "$USAGE" >&2; exit 2; }
WINDOWS_BIN=$(cd "$1" && pwd)
for exe in tripcost.exe bare_window.exe; do
  [ -f "$WINDOWS_BIN/$exe" ] || { echo "no $exe in $WINDOWS_BIN" >&2; exit 2; }
done
COUNT=${3:-200}
WINEPREFIX=$(realpath -m "${WINEPREFIX:-$REPO/build/wine-prefix}")
# A desktop's UTF-8 locale for every program, as the Windows window test has it.
export WINEPREFIX WINEDEBUG=-all LC_ALL=C.UTF-8
unset VXGFX
# The cells read: the heading's "K" (row 0) and the first answer's first character (row 7).
HEADING_COLUMN=39 ANSWER_ROW=7
IDLE_SECONDS=5
TICKS=$(getconf CLK_TCK)

SERVER_STARTED="" SERVER_PID="" POLLER_PID=""
# The sessions of the terminals: Wine starts its desktop process in the program's session.
SESSIONS=()

e2e_cleanup() {
  [ -z "$POLLER_PID" ] || kill "$POLLER_PID" 2>/dev/null || true
  term_stop
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    [[ ! "$(ps -o comm= -p "$pid")" =~ ^(tripcost|tripcost\.exe|bare_window\.exe)$ ]] ||
      kill -KILL "$pid" || true
  done
  # The server goes before the display its desktop process is drawn on.
  [ -z "$SERVER_STARTED" ] || wineserver -k 2>/dev/null || true
  rm -rf "$E2E_WORK_DIR"
}
e2e_setup "$2"
window_setup
# The programs and the server end before the X server does.
trap 'e2e_cleanup; window_cleanup' EXIT

# The prefix's server: the wineserver process whose folder (its working directory, wherever
# this Wine keeps it) is named after the prefix's device and inode.
find_server() {
  local pid
  for pid in $(pgrep -u "$(id -u)" '^wineserver'); do
    [[ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" == */"$SERVER_FOLDER" ]] && SERVER_PID=$pid && return
  done
  return 1
}
bash "$REPO/tests/windows/wine_session.sh" prepare "$WINEPREFIX"
read -r device inode < <(stat -c '%d %i' "$WINEPREFIX")
SERVER_FOLDER=$(printf 'server-%x-%x' "$device" "$inode")
if ! find_server; then
  # Started here, the server and the prefix's services hold no terminal's output open and do
  # not start again with each program.
  SERVER_STARTED=1
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot </dev/null >/dev/null 2>&1
  wait_until 10 find_server || fail "no wine server runs for $WINEPREFIX"
fi
echo "Wine prefix $WINEPREFIX, wine server $SERVER_PID$([ -n "$SERVER_STARTED" ] && echo " (started here)")"

# use_variant NAME: the program the helpers below start: DirectX, GDI, bare or SDL.
use_variant() {
  VARIANT=$1
  case $VARIANT in
    DirectX) COMMAND="wine '$WINDOWS_BIN/tripcost.exe'" ;;
    GDI) COMMAND="env VXGFX=gdi wine '$WINDOWS_BIN/tripcost.exe'" ;;
    bare) COMMAND="wine '$WINDOWS_BIN/bare_window.exe'" ;;
    SDL) COMMAND="'$E2E_BIN_DIR/tripcost'" ;;
  esac
  case $VARIANT in
    bare) E2E_PROGRAM_NAME=bare_window.exe PROGRAM_TITLE=bare ;;
    SDL) E2E_PROGRAM_NAME=tripcost PROGRAM_TITLE=tripcost ;;
    *) E2E_PROGRAM_NAME=tripcost.exe PROGRAM_TITLE=tripcost ;;
  esac
}
under_wine() { [ "$VARIANT" != SDL ]; }

# Wine starts the program as a process of the program file's name in the terminal's session,
# not as the shell's child.
program_runs() { PROGRAM_PID=$(pgrep -n -s "$SESSION" -x "$E2E_PROGRAM_NAME"); }

# start_variant: the program in a fresh terminal, its start screen up, waiting for Enter.
start_variant() {
  term_start 80 25
  SESSION=$(pane_info '#{pane_pid}')
  SESSIONS+=("$SESSION")
  run_line "$COMMAND"
  wait_until 10 program_runs || fail "$E2E_PROGRAM_NAME is not running"
  E2E_PIDS+=("$PROGRAM_PID")
  if [ "$VARIANT" == bare ]; then wait_for_text '^bare: Enter opens the window'; else expect_start_screen; fi
}

# open_window: Enter in the terminal, then the window with the first question.
open_window() {
  send_keys Enter
  wait_for_window "$PROGRAM_TITLE"
  expect_window_text "^6:$FIRST_QUESTION\$"
}

# end_program: Ctrl+C in the terminal, as a user ends the programs there; killed if it stays.
end_program() {
  send_keys C-c
  wait_until 10 process_gone "$PROGRAM_PID" && return
  echo "  ($E2E_PROGRAM_NAME outlived Ctrl+C by 10 s: killed)"
  kill -KILL "$PROGRAM_PID" 2>/dev/null || true
  wait_until 5 process_gone "$PROGRAM_PID" || fail "$E2E_PROGRAM_NAME is still running"
}

# Wine's desktop process stays a few seconds after the last window of the prefix goes.
wine_desktop_pids() { ((${#SESSIONS[@]})) && pgrep -x explorer.exe -s "$(IFS=, && echo "${SESSIONS[*]}")"; }
wine_desktop_closed() { ! wine_desktop_pids >/dev/null; }

median() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
percentiles() {
  sort -n | awk '{ v[NR] = $1 } END {
    printf "n=%d  p50=%.1f ms  p99=%.1f ms  max=%.1f ms\n", NR,
      v[int(NR * 0.5 + 0.5)], v[int(NR * 0.99 + 0.5)], v[NR] }'
}

# time_opening: OPEN_MS, the milliseconds from Enter in the terminal to the heading's "K" in
# the window.
time_opening() {
  if under_wine; then
    wait_until 15 wine_desktop_closed || echo "  (Wine's desktop of the last window is still up)" >&2
  fi
  start_variant
  timeout 30 python3 "$LATENCY" open "$PROGRAM_TITLE" "$HEADING_COLUMN" 0 >"$E2E_WORK_DIR/lit" &
  POLLER_PID=$!
  sleep 0.5 # the watcher is up and polling
  local begin=$EPOCHREALTIME
  send_keys Enter
  wait "$POLLER_PID" || fail "the heading of the $VARIANT window did not light within 30 s"
  POLLER_PID=""
  OPEN_MS=$(awk -v begin="$begin" '{ printf "%.1f", ($1 - begin) * 1000 }' "$E2E_WORK_DIR/lit")
  end_program
}

# task_figures PID: a line "TID TICKS SWITCHES NAME" for each thread of PID: its processor
# ticks (user and system) and context switches (voluntary and involuntary) so far.
task_figures() {
  local task stat fields switches
  for task in /proc/"$1"/task/*; do
    # A thread may end between the listing and the reads.
    if ! stat=$(cat "$task/stat" 2>/dev/null) || ! switches=$(cat "$task/status" 2>/dev/null); then
      continue
    fi
    # The name, in brackets, may hold spaces: the fields are counted after it.
    read -ra fields <<<"${stat##*) }"
    switches=$(awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n }' <<<"$switches")
    echo "${task##*/} $((fields[11] + fields[12])) $switches $(cat "$task/comm" 2>/dev/null)"
  done
}
process_figures() { task_figures "$1" | awk '{ t += $2; s += $3 } END { print t + 0, s + 0 }'; }

# figures_line NAME TICKS SWITCHES: one line of the idle figures.
figures_line() {
  awk -v name="$1" -v t="$2" -v s="$3" -v seconds="$IDLE_SECONDS" -v hz="$TICKS" 'BEGIN {
    printf "    %-40s %3d ticks %5.1f %% of a core %7.1f wake-ups/s\n", name, t, t * 100 / (hz * seconds), s / seconds }'
}

# process_line NAME "TICKS SWITCHES" (before) "TICKS SWITCHES" (after)
process_line() {
  local t0 s0 t1 s1
  read -r t0 s0 <<<"$2"
  read -r t1 s1 <<<"$3"
  figures_line "$1" "$((t1 - t0))" "$((s1 - s0))"
}

# idle_figures PLACE: each thread's ticks and wake-ups a second over IDLE_SECONDS; under Wine
# the wine server's and the desktop process's too.
idle_figures() {
  local before after tid ticks switches name earlier server_before="" desktop="" desktop_before=""
  echo "  $VARIANT, $1 ($E2E_PROGRAM_NAME, pid $PROGRAM_PID):"
  if under_wine; then
    server_before=$(process_figures "$SERVER_PID")
    desktop=$(wine_desktop_pids | head -n 1) || true
    [ -z "$desktop" ] || desktop_before=$(process_figures "$desktop")
  fi
  before=$(task_figures "$PROGRAM_PID")
  sleep "$IDLE_SECONDS"
  after=$(task_figures "$PROGRAM_PID")
  # A thread born meanwhile counts from nothing; one that ended is named as such.
  while read -r tid ticks switches name; do
    earlier=$(awk -v tid="$tid" '$1 == tid { print $2, $3 }' <<<"$before")
    process_line "thread $tid $name" "${earlier:-0 0}" "$ticks $switches"
  done <<<"$after"
  while read -r tid _; do
    awk -v tid="$tid" '$1 == tid { found = 1 } END { exit found }' <<<"$after" &&
      echo "    thread $tid ended meanwhile"
  done <<<"$before"
  if under_wine; then
    process_line "wineserver (pid $SERVER_PID)" "$server_before" "$(process_figures "$SERVER_PID")"
    if [ -n "$desktop_before" ] && [ -d "/proc/$desktop" ]; then
      process_line "Wine's desktop, explorer.exe (pid $desktop)" "$desktop_before" \
        "$(process_figures "$desktop")"
    fi
  fi
  return 0
}

echo "(a) window open time, Enter in the terminal to the heading in the window, 5 runs (ms):"
declare -A opened
for run in 1 2 3 4 5; do
  line="  run $run:"
  for variant in DirectX GDI bare SDL; do
    use_variant "$variant"
    time_opening
    opened[$variant]+="$OPEN_MS "
    line+="  $variant $OPEN_MS"
  done
  echo "$line"
done
for variant in DirectX GDI bare SDL; do
  printf '  %-8s median %7s ms   runs: %s\n' "$variant" \
    "$(tr ' ' '\n' <<<"${opened[$variant]}" | grep . | median)" "${opened[$variant]% }"
done

echo "(b) key to echo over $COUNT keys at random moments:"
for variant in DirectX GDI SDL; do
  use_variant "$variant"
  start_variant
  open_window
  python3 "$LATENCY" keys "$(window_id)" 0 "$ANSWER_ROW" "$COUNT" >"$E2E_WORK_DIR/keys" ||
    fail "the $VARIANT window stopped echoing the keys"
  printf '  %-8s %s\n' "$VARIANT" "$(percentiles <"$E2E_WORK_DIR/keys")"
  end_program
done

echo "(c) idle, $IDLE_SECONDS s in each place: processor ticks (1/$TICKS s) and wake-ups a second:"
for variant in DirectX GDI SDL; do
  use_variant "$variant"
  start_variant
  open_window
  sleep 1 # the window settled
  idle_figures "waiting for the first answer"
  window_type 100 && window_keys Return
  for answer in 1 4 2 7 20; do window_type "$answer" && window_keys Return; done
  expect_window_text "^29:$ESC_HINT\$"
  sleep 5 # the key loop's poll waits at their longest
  idle_figures "in the key loop, 5 s after the results"
  end_program
done
