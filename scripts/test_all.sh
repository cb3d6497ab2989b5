#!/usr/bin/env bash
# Builds every preset and runs every test: native, native with sanitizers, and the Windows
# build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_deps.sh

for preset in native native-asan win32; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
echo "All tests passed."
