#!/usr/bin/env bash
# Starts or ends the Wine session of one test run in a build tree:
#   wine_session.sh start BUILD_DIR   Xvfb, the private prefix (created when missing), one wineserver
#   wine_session.sh stop  BUILD_DIR   ends the wineserver and Xvfb
# Every Wine process of the run must share the Xvfb display: a wineserver started without one
# leaves later windows of its session without a graphics driver.
set -euo pipefail
action=${1:?start or stop}
build=$(cd "${2:?build dir}" && pwd)
session="$build/wine-session.env"

export WINEPREFIX="$build/wineprefix" WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

stop() {
  [ -f "$session" ] || return 0
  # shellcheck disable=SC1090
  . "$session"
  wineserver -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -f "$session"
}

start() {
  stop
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  local xpid=$!
  for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  export DISPLAY=":$n"
  printf 'export DISPLAY=%s\nXVFB_PID=%s\n' "$DISPLAY" "$xpid" >"$session"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # No window manager under Xvfb: unmanaged windows avoid a 2 s wait at every hide.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # A crash must fail the test, not wait for someone to close a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
  fi
  wineserver -p
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop BUILD_DIR" >&2; exit 2 ;;
esac
