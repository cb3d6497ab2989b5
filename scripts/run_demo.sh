#!/usr/bin/env bash
# The main job on the bundled data: builds Stats.dll and drives it under Wine through the host
# simulator with the demo session, printing every answer of the module.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_deps.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Stats host_simulator >/dev/null
build=build/win32
scripts/wine_session.sh start "$build" >/dev/null
trap 'scripts/wine_session.sh stop "$build"' EXIT
scripts/wine_run.sh "$build/tests/win32/host_simulator/host_simulator.exe" \
  --dll "$build/resources/Stats.dll" examples/demo_session.txt
