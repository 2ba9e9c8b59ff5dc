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

# run PROGRAM KEYS: PROGRAM with KEYS (printf escapes) as its input; STATUS is how it ended.
run() {
  STATUS=0
  # In a subshell, so that the shell's word on a program ended by a signal stays out of the log.
  (printf "$2" | timeout 20 "$1" >"$out"; exit $?) 2>/dev/null || STATUS=$?
  [ "$STATUS" != 124 ] || fail "$(basename "$1") was still running 20 s after its keys"
}
count() { LC_ALL=C grep -a -c -- "$1" "$out" || true; }

# The farewell of tripcost waits for a key; when the keys have run out that is the close.
scenario "twenty Enters open twenty trip screens, then one Esc the farewell"
run "$E2E_PROGRAM" "$(printf '\\r1\\r1\\r1\\r1\\r1\\r1\\r%.0s' {1..20})\\x1b"
[ "$(count 'PODAJ DLUGOSC TRASY')" == 20 ] || fail "$(count 'PODAJ DLUGOSC TRASY') trip screens, not 20"
[ "$(count 'KONIEC PRACY')" == 1 ] && [ "$STATUS" == 129 ] || fail "no farewell and end (status $STATUS)"

scenario "twenty Enters open twenty log sheets, then one Esc the farewell"
run "$LOGVOLUME" "$(printf '\\r10\\r40\\r%.0s' {1..20})\\x1b"
[ "$(count ' 1.256Tyle fast metrow Robaczku!')" == 20 ] || fail "$(count 1.256) volumes, not 20"
[ "$(count 'anie pieniomata!')" == 1 ] && [ "$STATUS" == 0 ] || fail "no farewell and end (status $STATUS)"

scenario "Esc as the first key, twenty times in each program"
for ((i = 0; i < 20; i++)); do
  run "$E2E_PROGRAM" '\x1b'
  [ "$(count 'KONIEC PRACY')" == 1 ] && [ "$STATUS" == 129 ] || fail "run $i: Esc was lost"
  run "$LOGVOLUME" '\x1b'
  [ "$(count 'anie pieniomata!')" == 1 ] && [ "$STATUS" == 0 ] || fail "run $i: Esc was lost"
done

# The end of the keys, or no keys at all, ends the program as a closed terminal (129) does.
scenario "a file with no keys, and a key after a pause"
STATUS=0
(timeout 5 "$E2E_PROGRAM" </dev/null >"$out"; exit $?) 2>/dev/null || STATUS=$?
[ "$STATUS" == 129 ] || fail "with no keys at all tripcost ended with status $STATUS"
# A key that comes after a pause is a key of its own, and ends the farewell.
STATUS=0
{ printf '\x1b' && sleep 0.3 && printf ' ' && sleep 5; } | timeout 5 "$E2E_PROGRAM" >"$out" || STATUS=$?
[ "$(count 'KONIEC PRACY')" == 1 ] && [ "$STATUS" == 0 ] || fail "the farewell's key did not end it ($STATUS)"

scenario "--help and --version"
for program in "$E2E_PROGRAM" "$LOGVOLUME"; do
  name=$(basename "$program")
  "$program" --help </dev/null >"$out" || fail "$name --help failed"
  head -n 1 "$out" | grep -q "^Usage: $name" && grep -q VXGFX "$out" && ! grep -q $'\e' "$out" ||
    fail "$name --help printed:"$'\n'"$(cat -v "$out")"
  [ "$("$program" --version)" == "$name 0.1" ] || fail "$name --version printed the wrong thing"
done

echo "PASS"
