#!/usr/bin/env bash
# Configures and builds the three plug-in builds (Linux, 64-bit and 32-bit
# Windows) from the presets, then copies the plug-ins into dist/: the Linux
# build's VST library and its LV2 bundle Ulmar.lv2.
# Usage: scripts/build-plugins.sh [--with-tests]
set -euo pipefail
cd "$(dirname "$0")/.."

with_tests=OFF
[ "${1:-}" = "--with-tests" ] && with_tests=ON
jobs=$(nproc)

for preset in linux win64 win32; do
  echo "== build: $preset"
  cmake --preset "$preset" -DULMAR_BUILD_TESTS=$with_tests >"build-$preset.configure.log" 2>&1 ||
    { cat "build-$preset.configure.log"; exit 1; }
  rm -f "build-$preset.configure.log"
  cmake --build "build/$preset" --parallel "$jobs"
done

mkdir -p dist/linux dist/win64 dist/win32
cp build/linux/plugin/Ulmar_v1.so dist/linux/
rm -rf dist/linux/Ulmar.lv2
cp -r build/linux/lv2/Ulmar.lv2 dist/linux/
cp build/win64/plugin/Ulmar_v1.dll dist/win64/
cp build/win32/plugin/Ulmar_v1.dll dist/win32/
