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
  # The session's processes outlive this script: none of them may hold a descriptor of the
  # caller's (CTest waits for its pipes to close), so they write to a log of their own.
  exec </dev/null >>"$build/wine-session.log" 2>&1
  local fd
  for fd in /proc/$$/fd/*; do
    fd=${fd##*/}
    [ "$fd" -gt 2 ] && eval "exec $fd>&-" 2>/dev/null
  done
  local n xpid=
  # Another run may take a display number at the same moment: try the next one until an Xvfb
  # of ours is up.
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp &
    xpid=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$xpid" 2>/dev/null && break 2
      kill -0 "$xpid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$xpid" 2>/dev/null || true
    xpid=
  done
  [ -n "$xpid" ] || { echo "no Xvfb display could be started" >&2; exit 1; }
  export DISPLAY=":$n"
  printf 'export DISPLAY=%s\nXVFB_PID=%s\n' "$DISPLAY" "$xpid" >"$session"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i
    wineserver -w
    # No window manager under Xvfb: unmanaged windows avoid a 2 s wait at every hide.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    # A crash must fail the test, not wait for someone to close a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    wineserver -w
  fi
  wineserver -p
  # The first Wine process of a session starts Wine's own services, which live as long as the
  # wineserver and inherit that process's descriptors: start them here, with none of the
  # caller's, and a warm session for the tests.
  wine cmd.exe /c exit 0
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start|stop BUILD_DIR" >&2; exit 2 ;;
esac
