#!/usr/bin/env bash
# Runs a Windows program under Wine in the tests' own prefix: the emulator of the Windows
# build's tests. usage: wine_run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# The prefix is made and its server started by wine_session.sh; a display that session
# started (for programs that open a console of their own) is used when there is one.
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=-all
if [ -f "$WINEPREFIX/textscreen-display" ]; then
  DISPLAY=$(cat "$WINEPREFIX/textscreen-display")
  export DISPLAY
fi
exec wine "$@"
