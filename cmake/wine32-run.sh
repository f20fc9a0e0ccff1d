#!/usr/bin/env bash
# Runs a cross-built 32-bit Windows program under 32-bit Wine (which this
# machine runs through QEMU's user-mode emulator, registered by
# scripts/setup-wine32.sh), in a win32 prefix of the build's own
# (WINEPREFIX from the environment, else beside this build).
set -euo pipefail
: "${WINEPREFIX:=${ULMAR_WINEPREFIX:-$PWD/wineprefix}}"
export WINEPREFIX WINEARCH=win32 WINEDEBUG=-all
exec /usr/lib/wine/wine "$@"
