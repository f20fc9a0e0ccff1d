#!/usr/bin/env bash
# Installs every package the project builds, tests and renders with, on a
# fresh Debian 12 machine, then makes 32-bit Windows programs runnable
# (scripts/setup-wine32.sh). Safe to run again: packages already present are
# skipped without touching the network.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git file
  clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  gcc-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 xvfb xauth fonts-liberation imagemagick xdotool
  libcairo2-dev libpango1.0-dev libx11-dev zenity xrestop
  sox libsndfile1-dev python3
  libzita-convolver-dev
  lv2-dev liblilv-dev lilv-utils sordi jalv jackd2
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all ${#packages[@]} packages present"
else
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get -o DPkg::Lock::Timeout=900 update -qq ||
    { echo "setup: apt-get update failed" >&2; exit 1; }
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null || { echo "setup: installing ${missing[*]} failed" >&2; exit 1; }
fi

bash "$(dirname "$0")/setup-wine32.sh"
echo "setup: done"
