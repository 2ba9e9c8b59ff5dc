#!/usr/bin/env bash
# Both programs with keys from a pipe or a file instead of a terminal: every Enter and Esc
# gets its answer, the end of the keys ends the program, and --help and --version answer
# without touching a screen. No terminal is needed: standard output is a file. The keys are
# decoded as a terminal's, so an Esc with a byte straight after it is Alt with that key.
# Usage: test_keys_from_a_pipe.sh <folder holding tripcost and logvolume>
set -euo pipefail
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
e2e_setup "${1:-}"
LOGVOLUME=$(dirname "$E2E_PROGRAM")/logvolume
out=$E2E_WORK_DIR/out.txt

# expect_run PROGRAM KEYS STATUS [TEXT COUNT]...: PROGRAM with KEYS (printf escapes) as its
# input ends with STATUS, its output holding each TEXT COUNT times.
expect_run() {
  local status=0 name i j count
  name=$(basename "$1")
  # In a subshell, so that the shell's word on a program ended by a signal stays out of the log.
  (printf "$2" | timeout 20 "$1" >"$out"; exit $?) 2>/dev/null || status=$?
  [ "$status" == "$3" ] || fail "$name ended with status $status, not $3"
  for ((i = 4; i < $#; i += 2)); do
    j=$((i + 1)) count=$(LC_ALL=C grep -a -c -- "${!i}" "$out" || true)
    [ "$count" == "${!j}" ] || fail "$name showed \"${!i}\" $count times, not ${!j}"
  done
}

# tripcost's farewell waits for a key: when the keys have run out, the close (129) ends it.
scenario "twenty Enters open twenty screens, then one Esc the farewell"
expect_run "$E2E_PROGRAM" "$(printf '\\r1\\r1\\r1\\r1\\r1\\r1\\r%.0s' {1..20})\\x1b" 129 \
  'PODAJ DLUGOSC TRASY' 20 'KONIEC PRACY' 1
expect_run "$LOGVOLUME" "$(printf '\\r10\\r40\\r%.0s' {1..20})\\x1b" 0 \
  ' 1.256Tyle fast metrow Robaczku!' 20 'anie pieniomata!' 1

scenario "Esc as the first key, twenty times in each program"
for ((run = 0; run < 20; run++)); do
  expect_run "$E2E_PROGRAM" '\x1b' 129 'KONIEC PRACY' 1
  expect_run "$LOGVOLUME" '\x1b' 0 'anie pieniomata!' 1
done

scenario "no keys at all, and a key after a pause, which is a key of its own"
status=0
(timeout 5 "$E2E_PROGRAM" </dev/null >"$out"; exit $?) 2>/dev/null || status=$?
[ "$status" == 129 ] || fail "with no keys at all tripcost ended with status $status"
{ printf '\x1b' && sleep 0.3 && printf ' ' && sleep 5; } | timeout 5 "$E2E_PROGRAM" >"$out" ||
  fail "the farewell's key did not end it"

scenario "--help and --version"
for program in "$E2E_PROGRAM" "$LOGVOLUME"; do
  name=$(basename "$program")
  "$program" --help </dev/null >"$out" || fail "$name --help failed"
  head -n 1 "$out" | grep -q "^Usage: $name" && grep -q VXGFX "$out" && ! grep -q $'\e' "$out" ||
    fail "$name --help printed:"$'\n'"$(cat -v "$out")"
  [ "$("$program" --version)" == "$name 0.1" ] || fail "$name --version printed the wrong thing"
done

echo "PASS"
