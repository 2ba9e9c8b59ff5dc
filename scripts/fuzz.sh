#!/usr/bin/env bash
# Runs one libFuzzer target over its committed corpus and then explores for a while; or
# runs the reproducers of the known findings. See --help.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  cat <<'EOF'
Usage: scripts/fuzz.sh TARGET SECONDS [LIBFUZZER_OPTION...]
       scripts/fuzz.sh --findings
       scripts/fuzz.sh --list

Builds the fuzz preset when needed (clang, libFuzzer, address and undefined-behaviour
sanitizers) and runs TARGET for SECONDS: first every input of its committed corpus
(tests/fuzz/corpus/TARGET/), then new inputs that it keeps in a scratch folder,
build/fuzz/corpus/TARGET/ (or $FUZZ_SCRATCH), never in the committed corpus. Prints the
executions and executions per second; exits non-zero when the target crashed or broke
an invariant, leaving the input in build/fuzz/crashes/. Options after SECONDS go to
libFuzzer as they are (e.g. -max_len=300, -jobs=2).

To see what a saved input does:  build/fuzz/bin/TARGET INPUT (the failed check says why)

The targets steer around faults that are known and not fixed yet. --findings runs the
reproducers of those (tests/fuzz/findings/TARGET/NAME) with the steering off and tells,
for each, whether it still reproduces; it fails only when a target cannot be run. When a
fault is fixed, remove its reproducer and its steering in the target.
EOF
}

build() {
  local out
  out=$(mktemp)
  if ! { cmake --preset fuzz && cmake --build --preset fuzz -j "$(nproc)"; } >"$out" 2>&1; then
    cat "$out" >&2
    rm -f "$out"
    exit 1
  fi
  rm -f "$out"
}

targets() {
  find tests/fuzz -maxdepth 1 -name 'fuzz_*.cpp' -printf '%f\n' | sed 's/\.cpp$//' | sort
}

run_findings() {
  build
  local found=0
  for reproducer in tests/fuzz/findings/*/*; do
    [ -f "$reproducer" ] || continue
    local target
    target=$(basename "$(dirname "$reproducer")")
    found=$((found + 1))
    if FUZZ_NO_STEERING=1 "build/fuzz/bin/$target" "$reproducer" >/dev/null 2>&1; then
      echo "known finding $reproducer: no longer reproduces; remove it and its steering"
    else
      echo "known finding $reproducer: still reproduces (steered around in $target)"
    fi
  done
  echo "$found known findings"
}

case "${1:-}" in
  -h | --help | "")
    usage
    exit 0
    ;;
  --list)
    targets
    exit 0
    ;;
  --findings)
    run_findings
    exit 0
    ;;
esac

target=$1
seconds=${2:?"SECONDS missing; see --help"}
shift 2
if ! targets | grep -qx "$target"; then
  echo "unknown target $target; targets: $(targets | tr '\n' ' ')" >&2
  exit 2
fi

build
corpus=tests/fuzz/corpus/$target
scratch=${FUZZ_SCRATCH:-build/fuzz/corpus/$target}
crashes=build/fuzz/crashes
mkdir -p "$scratch" "$crashes"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

status=0
"build/fuzz/bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$crashes/$target-" "$@" "$scratch" "$corpus" >"$log" 2>&1 || status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
if [ "$status" -ne 0 ] || [ -z "$runs" ]; then
  grep -v -E '^#[0-9]+|^INFO:' "$log" | tail -40 >&2
  echo "$target: FAILED after ${runs:-?} executions; the input is in $crashes/" >&2
  exit 1
fi
elapsed=${elapsed:-$seconds}
echo "$target: $runs executions in ${elapsed} s, $((runs / (elapsed > 0 ? elapsed : 1))) per second"
