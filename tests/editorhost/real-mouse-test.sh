#!/usr/bin/env bash
# Drives the test plug-in's editor with a real mouse: the test host runs
# under the build's Wine runner (64-bit or 32-bit) on the X display in DISPLAY, xdotool finds its window
# and presses, drags, scrolls and clicks as a person would, and the host's
# log of parameter values and callbacks is checked after each scenario.
# One host process serves every scenario. A failing scenario leaves a
# screenshot in the output folder.
#
#   real-mouse-test.sh RUNNER HOST PLUGIN OUTPUT_DIR [SCENARIOS]
#
# RUNNER is the build's Wine runner, or "-" for a native host (paths are
# then passed as they are). SCENARIOS is the scenario file to source, by
# default the test editor's real-mouse-scenarios.sh.
set -uo pipefail
wine_run=$1
host=$2
plugin=$3
out=$4
here=$(cd "$(dirname "$0")" && pwd)
scenarios=${5:-$here/real-mouse-scenarios.sh}

mkdir -p "$out"
rm -f "$out"/*.png "$out/commands.txt" "$out/log.txt"
commands=$out/commands.txt
log=$out/log.txt
: >"$commands"
: >"$log"
failures=0
started=$(date +%s.%N)

winpath() {
  if [ "$wine_run" = - ]; then printf '%s' "$1"; else printf 'Z:%s' "${1//\//\\}"; fi
}
pause() { sleep "${1:-0.15}"; }

# Waits until the log has a line matching the pattern (extended regex).
wait_for() {
  local pattern=$1 limit=${2:-20} i
  for ((i = 0; i < limit * 20; i++)); do
    grep -qE "$pattern" "$log" && return 0
    sleep 0.05
  done
  return 1
}

send() { printf '%s\n' "$*" >>"$commands"; }

# Lines the host logged for the current scenario, after its start mark.
scenario_lines() { awk -v m="mark start $scenario" '$0 == m {on = 1; next} on' "$log"; }

fail() {
  echo "FAIL [$scenario]: $*"
  failures=$((failures + 1))
  import -window root "$out/failed-$scenario.png" 2>/dev/null
}

begin() {
  scenario=$1
  send "mark start $scenario"
  wait_for "^mark start $scenario\$" || fail "host did not answer"
}

# Ends a scenario: waits for the gesture to settle, then for the values.
finish() {
  pause 0.3
  send "params"
  send "mark end $scenario"
  wait_for "^mark end $scenario\$" || fail "host did not answer"
}

# The value of parameter N in the scenario's last "params" line.
param() { scenario_lines | awk -v n="$1" '$1 == "params" {v = $(n + 2)} END {print v}'; }
count() { scenario_lines | grep -cE "^$1\$"; }

expect_param() {
  local index=$1 want=$2 tolerance=${3:-0.0001} got
  got=$(param "$index")
  awk -v g="$got" -v w="$want" -v t="$tolerance" 'BEGIN {d = g - w; if (d < 0) d = -d; exit !(g != "" && d <= t)}' ||
    fail "parameter $index is ${got:-missing}, expected $want"
}

# The values a tag reported through automation, in order, one per line.
automated() { scenario_lines | awk -v t="$1" '$1 == "automate" && $2 == t {print $3}'; }

expect_automated() {  # tag, then the expected values in order
  local tag=$1 got want
  shift
  got=$(automated "$tag" | awk '{printf "%s%.3f", (NR > 1 ? " " : ""), $1}')
  want=$(printf '%s\n' "$@" | awk '{printf "%s%.3f", (NR > 1 ? " " : ""), $1}')
  [ "$got" = "$want" ] || fail "tag $tag reported '$got', expected '$want'"
}

expect_count() {
  local pattern=$1 want=$2 got
  got=$(count "$pattern")
  [ "$got" -eq "$want" ] || fail "$got lines '$pattern', expected $want"
}

# Screen position of a point in the editor's coordinates.
at() { echo $((editor_x + $1)) $((editor_y + $2)); }

click_held() {  # x y button: press, hold 150 ms, release
  xdotool mousemove $(at "$1" "$2")
  pause
  xdotool mousedown "$3"
  pause
  xdotool mouseup "$3"
}

# Holds the left button along a path of editor points: x1 y1 x2 y2 ...
drag_path() {
  xdotool mousemove $(at "$1" "$2")
  pause
  xdotool mousedown 1
  pause
  shift 2
  while [ $# -ge 2 ]; do
    xdotool mousemove $(at "$1" "$2")
    pause
    shift 2
  done
  xdotool mouseup 1
}

click_quick() {  # x y button: press and release at once
  xdotool mousemove $(at "$1" "$2")
  pause
  xdotool click "$3"
}

cleanup() {
  send "quit"
  for _ in $(seq 40); do
    kill -0 "$host_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$host_pid" 2>/dev/null
  wait "$host_pid" 2>/dev/null
}

# Start the host and find its window.
scenario=start
run_host() { if [ "$wine_run" = - ]; then "$@"; else "$wine_run" "$@"; fi; }
run_host "$host" "$(winpath "$plugin")" "$(winpath "$commands")" "$(winpath "$log")" >"$out/host-output.txt" 2>&1 &
host_pid=$!
trap cleanup EXIT
if ! wait_for '^ready$' 120; then
  fail "the host did not open the editor"
  cat "$log" "$out/host-output.txt"
  exit 1
fi
window=""
for _ in $(seq 50); do
  window=$(xdotool search --name '^Ulmar test host$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { fail "no window named 'Ulmar test host'"; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
# The host reports where the editor sits inside its window; Wine's screen
# coordinates are the X server's.
read -r offset_x offset_y editor_w editor_h window_x window_y < <(
  awk '$1 == "editor" && $2 == "offset" {print $3, $4, $6, $7, $9, $10}' "$log" | tail -1)
editor_x=$((window_x + offset_x))
editor_y=$((window_y + offset_y))
echo "window $window at $X,$Y ${WIDTH}x$HEIGHT; editor at $editor_x,$editor_y ${editor_w}x$editor_h"
# The editor lies inside the window xdotool found.
if ((editor_x < X || editor_y < Y || editor_x + editor_w > X + WIDTH || editor_y + editor_h > Y + HEIGHT)); then
  fail "the editor ($editor_x,$editor_y ${editor_w}x$editor_h) is not inside the window ($X,$Y ${WIDTH}x$HEIGHT)"
fi
xdotool windowfocus --sync "$window" 2>/dev/null

# Scenarios. Each one's name is the screenshot's name when it fails.
source "$scenarios"

# One picture of the editor after all scenarios, kept for a look.
import -window root "$out/editor.png" 2>/dev/null
# The host ends cleanly (a sanitizer's leak report ends it with a failure).
send "quit"
for _ in $(seq 600); do
  kill -0 "$host_pid" 2>/dev/null || break
  sleep 0.1
done
wait "$host_pid"
host_status=$?
trap - EXIT
if [ "$host_status" -ne 0 ]; then
  scenario=host
  fail "the host ended with status $host_status"
  tail -40 "$out/host-output.txt"
fi
elapsed=$(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN {printf "%.1f", e - s}')
if grep -q '^crash' "$log"; then
  scenario=host
  fail "the host crashed: $(grep '^crash' "$log")"
fi
echo "real-mouse scenarios took ${elapsed}s, $failures failed"
[ "$failures" -eq 0 ]
