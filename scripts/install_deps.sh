#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing need, when they are missing.
# Runs apt-get as root, or through sudo where there is one.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 xvfb xauth
  llvm clang libclang-rt-14-dev
  imagemagick libcli11-dev hamradio-files
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    echo "need root (or sudo) to install: ${missing[*]}" >&2; exit 1
  fi
}

echo "Installing: ${missing[*]}"
# 32-bit Wine needs the i386 architecture.
dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
as_root apt-get update -qq
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "${missing[@]}" >/dev/null
