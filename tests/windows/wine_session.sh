#!/usr/bin/env bash
# The Wine session of a test run: `start PREFIX` makes the prefix when it is missing (once,
# ~10 s), starts an X server for programs that open a console window of their own, and a
# persistent wine server, so that no program waits for a server to start or to end;
# `stop PREFIX` ends both. Only this prefix's server is touched. `prepare PREFIX` only makes
# the prefix, for running the programs by hand.
set -euo pipefail
usage="usage: wine_session.sh start|stop|prepare PREFIX"
command=${1:?$usage}
export WINEPREFIX=${2:?$usage}
export WINEDEBUG=-all
display_file=$WINEPREFIX/textscreen-display
xvfb_pid_file=$WINEPREFIX/textscreen-xvfb.pid

stop_session() {
  wineserver -k 2>/dev/null || true
  if [ -f "$xvfb_pid_file" ]; then
    local pid
    pid=$(cat "$xvfb_pid_file")
    kill "$pid" 2>/dev/null || true
    # Gone before another may take its display number.
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    rm -f "$xvfb_pid_file" "$display_file"
  fi
}

prepare_prefix() {
  command -v wine >/dev/null || { echo "wine is not installed"; exit 1; }
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # No Mono or Gecko: nothing here needs them, and asking for them would stall.
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  # DirectDraw drawn by Wine's GDI renderer rather than through OpenGL, which on an X server
  # without a graphics card is a software renderer three times slower per blit and a second
  # slower to open a window.
  if ! grep -q '^"renderer"="gdi"' "$WINEPREFIX/user.reg"; then
    wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1
    wineserver -w
  fi
}

case $command in
  prepare)
    prepare_prefix
    ;;
  start)
    stop_session
    prepare_prefix
    if command -v Xvfb >/dev/null; then
      for number in $(seq 70 99); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
        Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
        echo $! >"$xvfb_pid_file"
        for _ in $(seq 50); do
          [ -e "/tmp/.X11-unix/X$number" ] && break
          sleep 0.1
        done
        echo ":$number" >"$display_file"
        # The prefix's desktop, started below, draws console windows on it.
        export DISPLAY=":$number"
        break
      done
    fi
    wineserver -p </dev/null >/dev/null 2>&1
    # The prefix's own services start with the first program and outlive it: started here,
    # they hold no test's output open.
    wineboot </dev/null >/dev/null 2>&1
    ;;
  stop)
    stop_session
    ;;
  *)
    echo "$usage" >&2
    exit 2
    ;;
esac
