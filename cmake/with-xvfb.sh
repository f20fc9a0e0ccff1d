#!/usr/bin/env bash
# Runs a command with an X display: the one in DISPLAY when it answers,
# otherwise a virtual X server of its own, started here and stopped when
# the command ends. A Wine server keeps the display it first met, so the
# Wine prefix's server (WINEPREFIX, else ULMAR_WINEPREFIX; one that only
# these runs use) is stopped before and after.
set -uo pipefail
prefix=${WINEPREFIX:-${ULMAR_WINEPREFIX:-}}
stop_wine() {
  [ -n "$prefix" ] && [ -x /usr/lib/wine/wineserver64 ] && WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k 2>/dev/null
  return 0
}
if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  stop_wine
  "$@"
  status=$?
  stop_wine
  exit "$status"
fi
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$fd_file" ] && break
  sleep 0.1
done
display=$(head -1 "$fd_file")
rm -f "$fd_file"
if [ -z "$display" ]; then
  echo "with-xvfb: the X server did not start" >&2
  kill "$xvfb" 2>/dev/null
  exit 1
fi
export DISPLAY=":$display"
stop_wine
"$@"
status=$?
stop_wine
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
exit "$status"
