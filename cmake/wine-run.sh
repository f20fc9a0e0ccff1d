#!/usr/bin/env bash
# Runs a cross-built Windows program under 64-bit Wine with a prefix of the
# build's own (WINEPREFIX from the environment, else beside this build).
set -euo pipefail
: "${WINEPREFIX:=${ULMAR_WINEPREFIX:-$PWD/wineprefix}}"
export WINEPREFIX WINEDEBUG=-all
exec /usr/lib/wine/wine64 "$@"
