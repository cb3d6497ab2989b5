#!/usr/bin/env bash
# The main job on the bundled data: builds Stats.dll and drives it under Wine through the host
# simulator with the demo session, printing every answer of the module. The module's files
# (err.txt, the settings file) are written into build/demo.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install_deps.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Stats host_simulator >/dev/null
build=$root/build/win32
scripts/wine_session.sh start "$build"
trap '"$root/scripts/wine_session.sh" stop "$build"' EXIT
mkdir -p build/demo/Plugins
cd build/demo
"$root/scripts/wine_run.sh" "$build/tests/win32/host_simulator/host_simulator.exe" \
  --module "$build/tests/win32/host_simulator/Stats.dll" "$root/examples/demo_session.txt"
