#!/usr/bin/env bash
# The main job: set up the machine, build the three plug-ins and the LV2
# bundle into dist/, list them, and render a demo through the Linux plug-in.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build-plugins.sh

echo
echo "Plug-ins built into $(pwd)/dist:"
find dist -type f \( -name 'Ulmar_v1.*' -o -path '*/Ulmar.lv2/*' \) -printf '  %-28p %10s bytes\n' | sort
echo
echo "Demo render (generated impulse response and input):"
bash scripts/render-demo.sh build/linux dist/demo
