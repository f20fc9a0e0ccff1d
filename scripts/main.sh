#!/usr/bin/env bash
# The main job: set up the machine, build the three plug-ins into dist/
# and list them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build-plugins.sh

echo
echo "Plug-ins built into $(pwd)/dist:"
find dist -type f -name 'Ulmar_v1.*' -printf '  %-28p %10s bytes\n' | sort
