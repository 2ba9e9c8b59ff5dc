#!/usr/bin/env bash
# Installs what is missing, builds the release programs and starts one (tripcost by default).
set -euo pipefail
cd "$(dirname "$0")/.."
programs="tripcost logvolume"
usage() {
  echo "usage: scripts/run.sh [PROGRAM] [ARGUMENTS...]"
  echo "Installs what is missing, builds the release build and starts PROGRAM (tripcost when"
  echo "none is named) with ARGUMENTS. Programs: $programs."
}
program="${1:-tripcost}"
case " $programs " in
  *" $program "*) ;;
  *)
    [ "$program" = --help ] || [ "$program" = -h ] || echo "scripts/run.sh: no program '$program'" >&2
    usage
    [ "$program" = --help ] || [ "$program" = -h ]
    exit
    ;;
esac
shift || true
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target "$program"
exec build/release/bin/"$program" "$@"
