# shellcheck shell=bash
# shellcheck disable=SC2034 # the texts are the scripts'
# Helpers for the end-to-end tests: a program runs from a shell in a tmux terminal ("the
# terminal"), and a second tmux server ("the viewer") has a client attached to it, whose
# window is resized as a user resizes a terminal's window. Each script: e2e_setup "$1", then
# term_start. The expect_* checks give the screen 5 seconds to come right; a failure shows the
# screen and ends the script with 1.

E2E_RUNS=0 E2E_CHECKS=0 E2E_SCENARIO="" PROGRAM_PID=""
E2E_PIDS=()
# Run from ctest or CI, the script may have no terminal and may sit inside someone's tmux.
unset TMUX TMUX_PANE
# The programs are met in a terminal alone: no display to open their windows on, so the
# calculation screens fall back to the terminal (window_lib.sh gives its own display).
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER

# New sockets for each terminal: a server that was just told to exit may still hold the old.
term_tmux() { tmux -S "$E2E_WORK_DIR/term$E2E_RUNS" "$@"; }
view_tmux() { tmux -S "$E2E_WORK_DIR/view$E2E_RUNS" "$@"; }
pane_info() { term_tmux display-message -p -t e2e "$1"; }

# e2e_setup BIN_DIR: the folder of the programs, tripcost to start with, a scratch folder and
# cleanup.
e2e_setup() {
  [ -n "${1:-}" ] || { echo "usage: $0 <folder holding tripcost and logvolume>" >&2; exit 2; }
  E2E_BIN_DIR=$(cd "$1" && pwd)
  E2E_WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/e2e.XXXXXX")
  trap e2e_cleanup EXIT
  trap 'exit 1' INT TERM HUP
  use_program tripcost
}

# use_program NAME: the program start_program runs from now on.
use_program() {
  E2E_PROGRAM_NAME=$1 E2E_PROGRAM=$E2E_BIN_DIR/$1
  [ -x "$E2E_PROGRAM" ] || fail "no program at $E2E_PROGRAM"
}

e2e_cleanup() {
  term_stop
  local pid
  # A program that outlived its terminal would spin on: end the ones these tests started.
  for pid in "${E2E_PIDS[@]}"; do
    [[ ! "$(ps -o comm= -p "$pid")" =~ ^(tripcost|logvolume)$ ]] || kill -KILL "$pid" || true
  done
  rm -rf "$E2E_WORK_DIR"
}

# scenario NAME: names the part of the script now running, for the failure message.
scenario() { E2E_SCENARIO=$1 && echo "-- $1"; }

# term_start COLS ROWS: a fresh terminal of that size showing a shell prompt, with the viewer
# attached at the same size. The shell is dash: bash puts its own terminal modes back after a
# job is stopped or killed by a signal, which would hide a program that never restores them.
term_start() {
  term_stop
  E2E_RUNS=$((E2E_RUNS + 1))
  term_tmux -f /dev/null new-session -d -s e2e -x "$1" -y "$2" -c "$E2E_WORK_DIR" \
    "env HISTFILE= PS1='e2e$ ' dash -i" \; set -g status off \; set -g remain-on-exit on
  view_tmux -f /dev/null new-session -d -s view -x "$1" -y "$2" \
    "env -u TMUX tmux -S '$E2E_WORK_DIR/term$E2E_RUNS' attach -t e2e" \; set -g status off
  wait_for_text '^e2e\$'
  wait_until 10 viewer_in_step || fail "the viewer never showed the terminal"
  wait_until 5 size_is "$1" "$2" || fail "the terminal is not $1x$2"
}

term_stop() {
  view_tmux kill-server 2>/dev/null || true
  term_tmux kill-server 2>/dev/null || true
}

size_is() { [ "$(pane_info '#{pane_width}x#{pane_height}')" == "$1x$2" ]; }
viewer_in_step() { [ "$(view_tmux capture-pane -p -t view 2>/dev/null)" == "$(screen_text)" ]; }

# resize_terminal COLS ROWS: resizes the terminal as a user resizing its window would.
resize_terminal() {
  view_tmux resize-window -t view -x "$1" -y "$2"
  wait_until 5 size_is "$1" "$2" || fail "the terminal did not take the size $1x$2"
}

# send_keys KEY...: tmux key names (Escape, Enter, C-c, ...), pressed in order.
send_keys() { term_tmux send-keys -t e2e "$@"; }
type_text() { send_keys -l "$1"; }
run_line() { type_text "$1" && send_keys Enter; }

# start_program ARGS...: runs the program from the shell (ARGS may hold a redirection) and
# waits for it to start; PROGRAM_PID is then its pid.
start_program() {
  run_line "'$E2E_PROGRAM' $*"
  wait_until 5 program_runs_under "$(pane_info '#{pane_pid}')" ||
    fail "$E2E_PROGRAM_NAME is not running under the shell"
  E2E_PIDS+=("$PROGRAM_PID")
}
program_runs_under() { PROGRAM_PID=$(pgrep -P "$1" -x "$E2E_PROGRAM_NAME"); }

# process_gone PID: true when nothing runs under PID (a zombie runs no more).
process_gone() { [[ "$(ps -o stat= -p "$1")" =~ ^(Z.*)?$ ]]; }

# wait_until SECONDS COMMAND...: true once COMMAND succeeds, false when time runs out (time,
# not tries: a check may take a good part of a second itself, as a window's capture does).
wait_until() {
  local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
  until "${@:2}"; do ((${EPOCHREALTIME/./} < deadline)) && sleep 0.05 || return 1; done
}

# press KEY COMMAND...: presses KEY once; COMMAND must then succeed in time. Each press counts:
# one that is lost fails the test.
press() {
  send_keys "$1"
  wait_until 5 "${@:2}" || fail "one press of $1 did not get to: ${*:2}"
}

screen_text() { term_tmux capture-pane -p -t e2e 2>/dev/null; }
screen_has() { screen_text | grep -Eq -- "$1"; }
screen_lacks() { ! screen_has "$1"; }

# wait_for_text REGEX: fails the test unless a row matching REGEX shows up in time.
wait_for_text() { wait_until 10 screen_has "$1" || fail "\"$1\" did not appear on the screen"; }

# rule CHAR COUNT: the character COUNT times, as the programs draw their lines.
rule() { printf -- "$1%.0s" $(seq "$2"); }

# numbered FIRST TEXT...: the texts as rows for expect_text_rows, the first on row FIRST; an
# empty TEXT is a blank row.
numbered() { printf '%s\n' "${@:2}" | awk -v first="$1" '$0 != "" { print first + NR - 1 ":" $0 }'; }

text_rows_are() { [ "$(screen_text | grep -n .)" == "$1" ]; }

# expect_text_rows "ROW:TEXT"...: these are the only rows that hold text (spaces included). An
# argument may hold several such lines.
expect_text_rows() {
  local wanted
  wanted=$(printf '%s\n' "$@" | grep . || true)
  wait_until 5 text_rows_are "$wanted" || fail "the screen should hold only these rows:"$'\n'"$wanted"
}

# expect_ended STATUS [SECONDS]: the program ends (at once, or within SECONDS), and the shell
# takes its terminal back.
expect_ended() {
  wait_until "${2:-5}" process_gone "$PROGRAM_PID" || fail "$E2E_PROGRAM_NAME is still running"
  expect_shell_back "$1"
}

# expect_shell_back [STATUS]: the shell runs a command line again, the terminal back in
# canonical mode with echo, and says the last command ended with STATUS (a regex).
expect_shell_back() {
  local tag="back$((++E2E_CHECKS))"
  run_line "echo $tag \$? \$(stty -a | tr ' ;' '\\n\\n' | grep -E '^-?(icanon|echo)\$')"
  wait_until 10 screen_has "^$tag ${1:-[0-9]+} icanon echo\$" ||
    fail "the shell should say \"$tag ${1:-N} icanon echo\" (the last status, then the modes)"
}

# user_screen_back TEXT: the screen is the shell's again, TEXT (echoed before the program ran)
# on its second row and nothing of the program's screens left.
user_screen_back() {
  [ "$(screen_text | sed -n 2p)" == "$1" ] && screen_lacks 'Kalkulator|KONIEC|Pieniomat|pieniomata' ||
    fail "the user's own screen did not come back"
}

# bell_rung: the terminal has rung its bell since term_start. The viewer keeps the mark, as
# no one ever looks at its window.
bell_rung() { [ "$(view_tmux display-message -p -t view '#{window_bell_flag}')" == 1 ]; }

# --- tripcost ----------------------------------------------------------------------------

TITLE='Kalkulator Trasoka nacisnij enter jesli chcesz kontynuowac'
HINT=' Lub ESC gdy musisz zakonczyc swoj ulubiony programik !!!'
HEADING="$(printf '%39s' '')KALKULATOR TRASOKA"
FIRST_QUESTION="$(printf '%13s' '')PODAJ DLUGOSC TRASY W KILOMETRACH I NACISNIJ ENTER"
ESC_HINT="       NACISNIJ ESC JAK CHCESZ ZAKONCZYC"
FAREWELL_ROWS=("9:KONIEC PRACY  KALKULATORA !" "23:$(printf '%56s' '')press any key to koniec"
  "24:      autorzy: the textscreen authors")

# expect_start_screen: the title and the hint, and no other row.
expect_start_screen() { expect_text_rows "3:$TITLE" "6:$HINT"; }

# fail MESSAGE...: reports, shows the screen, ends the script.
fail() {
  {
    echo "FAIL${E2E_SCENARIO:+ [$E2E_SCENARIO]}: $*"
    # An interactive shell ends when a read of the terminal gives end-of-file, as reads of
    # a terminal left in raw mode do.
    [ "$(pane_info '#{pane_dead}' 2>/dev/null)" != 1 ] ||
      echo "(the shell in the terminal has ended, status $(pane_info '#{pane_dead_status}'))"
    printf -- '--- terminal screen:\n%s\n---\n' "$(screen_text || echo "(no terminal)")"
  } >&2
  exit 1
}
