#!/usr/bin/env bash
# Start-up to the start screen under a warm Wine: tripcost.exe against a plain console program
# that draws the same screen, started in turn, in the same run.
# usage: bench/windows/startup_under_wine.sh [RUNS] [PRESET]   (defaults: 30 windows-x64)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-30}
preset=${2:-windows-x64}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target tripcost plain_start_screen startup_probe >/dev/null
prefix=$PWD/build/wine-prefix
bash tests/windows/wine_session.sh start "$prefix"
trap 'bash tests/windows/wine_session.sh stop "$prefix"' EXIT
bin=build/$preset/bin
tests/windows/wine_run.sh "$prefix" "$bin/startup_probe.exe" "$runs" tripcost.exe plain_start_screen.exe
