#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the session of the build tree it lives in
# (started by wine_session.sh). Used by CTest as the cross-compiling emulator.
set -euo pipefail
exe=${1:?program}
dir=$(cd "$(dirname "$exe")" && pwd)
build=$dir
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
export WINEPREFIX="$build/wineprefix" WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$build/wine-session.env" ]; then
  "$(dirname "$0")/wine_session.sh" start "$build"
  trap '"$(dirname "$0")/wine_session.sh" stop "$build"' EXIT
fi
# shellcheck disable=SC1091
. "$build/wine-session.env"
wine "$@"
