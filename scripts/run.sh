#!/usr/bin/env bash
# Installs what is missing, builds the release programs and starts one (tripcost by default);
# with --windows, the Windows program under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
programs="tripcost logvolume"
usage() {
  echo "usage: scripts/run.sh [--windows | --windows-x86] [PROGRAM] [ARGUMENTS...]"
  echo "Installs what is missing, builds the release build and starts PROGRAM (tripcost when"
  echo "none is named) with ARGUMENTS. Programs: $programs."
  echo "--windows builds the 64-bit Windows program and starts it under Wine in this terminal"
  echo "(--windows-x86: the 32-bit one), in the Wine prefix build/wine-prefix."
}
preset=release
case "${1:-}" in
  --windows) preset=windows-x64 && shift ;;
  --windows-x86) preset=windows-x86 && shift ;;
esac
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
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target "$program"
if [ "$preset" = release ]; then
  exec build/release/bin/"$program" "$@"
fi
WINEPREFIX=$PWD/build/wine-prefix
export WINEPREFIX WINEDEBUG=-all
bash tests/windows/wine_session.sh prepare "$WINEPREFIX"
exec wine build/"$preset"/bin/"$program".exe "$@"
