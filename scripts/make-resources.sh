#!/usr/bin/env bash
# Draws the editor's five bitmaps again into resources/ with the Linux
# build's ulmar-draw-bitmaps. Run it after changing resources/generator/ and
# commit the bitmaps with the change: the Windows builds take them as they
# are, and a test checks that they equal what the program draws.
# Usage: scripts/make-resources.sh [BUILD_DIR]   (default build/linux)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/linux}

if [ ! -f "$build/CMakeCache.txt" ]; then
  (cd "$root" && cmake --preset linux >/dev/null)
fi
cmake --build "$build" --target ulmar-draw-bitmaps --parallel 2 >/dev/null
"$build/resources/ulmar-draw-bitmaps" "$root/resources"
echo "make-resources: drew back.bmp knob.bmp load.bmp left.bmp right.bmp into $root/resources"
