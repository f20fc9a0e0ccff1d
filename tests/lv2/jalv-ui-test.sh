#!/usr/bin/env bash
# The editor as an LV2 UI in a real host: jalv.gtk3 on a JACK server of its
# own (the dummy driver, no sound card), on the X display of with-xvfb.sh.
# jalv restores a saved session whose block holds a response and whose
# port values differ from the block's parameters: the editor shows the
# response, its path and the port values (the ports win, and the host's
# values move the knobs). A knob dragged with the real mouse changes the
# host's port, and a load through the editor's chooser sets the host's gain
# and length ports: the test saves the session through jalv's File > Save
# and reads the port values from the saved state, whose block must hold the
# same values and the loaded file.
# Usage: jalv-ui-test.sh BUNDLE URI OUT_DIR [SCREENSHOT]
set -uo pipefail
bundle=$1
uri=$2
out=$3
screenshot=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$out"
mkdir -p "$out"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
  import -window root "$out/failed-$failures.png" 2>/dev/null
}
# Polls a command every 0.1 s for up to $1 seconds.
wait_until() {
  local limit=$1 i
  shift
  for ((i = 0; i < limit * 10; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

export JACK_DEFAULT_SERVER=ulmar-lv2-$$ JACK_NO_START_SERVER=1
jackd --no-realtime -d dummy -r 48000 -p 256 >"$out/jackd.log" 2>&1 &
jackd_pid=$!
jalv_pid=
# jalv does not end on a signal while its dialog is open: after 5 s it is
# killed.
end_process() {
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null
  wait_until 5 bash -c "! kill -0 $1" || kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}
stop() {
  end_process "$jalv_pid"
  end_process "$jackd_pid"
}
trap stop EXIT
jack_wait -w -t 60 >/dev/null 2>&1 || { echo "FAIL: the JACK server did not start"; cat "$out/jackd.log"; exit 1; }

python3 "$here/lv2-state.py" write "$out/session" "$uri"
LV2_PATH=$(dirname "$bundle") jalv.gtk3 -l "$out/session" "$uri" >"$out/jalv.log" 2>&1 &
jalv_pid=$!

# The editor's window: the innermost 304 x 245 window in jalv's.
editor_window() { xwininfo -root -tree | awk '/304x245/ {w = $1} END {if (!w) exit 1; print w}'; }
wait_until 60 editor_window || { echo "FAIL: no editor window"; cat "$out/jalv.log"; exit 1; }
window=$(editor_window)
read -r ex ey < <(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
top=$(xdotool search --name "^Ulmar \(mono\)$" | head -1)
read -r tx ty < <(xwininfo -id "$top" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4} END {print x, y}')
at() { echo $((ex + $1)) $((ey + $2)); }
pixel() {  # shot x y: "r g b" of an editor pixel
  convert "$out/$1.png" -crop "1x1+$((ex + $2))+$((ey + $3))" -depth 8 txt:- |
    awk 'NR == 2 {gsub(/[(),]/, " ", $2); split($2, c, " "); print c[1], c[2], c[3]}'
}
grey_marker() {  # shot column: the panel's end marker is grey there
  local r g b
  read -r r g b <<<"$(pixel "$1" $((14 + $2)) 162)"
  [ "$r" = "$g" ] && [ "$g" = "$b" ] && [ "${r:-0}" -gt 100 ]
}
shot() { import -window root "$out/$1.png"; }

# The restored session: the length port's 0.25 puts the panel's marker at
# column 69 (the block's own 0.5 would put it at 138).
restored() { shot restored && grey_marker restored 69; }
wait_until 30 restored || fail "the panel does not show the port's length 0.25: $(pixel restored 83 162)"
grey_marker restored 138 && fail "the panel shows the block's length 0.5"
if [ -n "$screenshot" ]; then
  convert "$out/restored.png" -crop "304x$((ey - ty + 245))+$tx+$ty" +repage "$screenshot"
fi

# A drag on the mix knob (the host's knob mode: circular).
xdotool mousemove $(at 37 38)
sleep 0.2
xdotool mousedown 1
sleep 0.2
xdotool mousemove $(at 50 60)
sleep 0.2
xdotool mousemove $(at 60 70)
sleep 0.3
xdotool mouseup 1
moved() { shot dragged && [ "$(compare -metric AE "$out/restored.png" "$out/dragged.png" null: 2>&1 | awk '{print int($1)}')" -gt 0 ]; }
wait_until 10 moved || fail "the knob did not move"

# The load button: the desktop's chooser (zenity), a typed path, Enter.
# The editor writes the automatic gain and length to the host's ports.
ir=$out/short-ir.wav
sox -n -r 48000 -c 1 -b 16 "$ir" synth 0.01 sine 1000 fade 0 0.01 0.01 2>/dev/null
chooser() { xdotool search --name '^Open impulse response file' | head -1; }
xdotool mousemove $(at 257 57) click 1
if wait_until 20 chooser; then
  xdotool windowfocus --sync "$(chooser)" 2>/dev/null
  sleep 0.5
  # The location field first: a busy machine loses keys typed while it
  # appears on its own.
  xdotool key ctrl+l
  sleep 0.8
  xdotool type --delay 30 "$ir"
  sleep 0.8
  xdotool key Return
  wait_until 10 bash -c "! xdotool search --name '^Open impulse response file'" || fail "the chooser stayed open"
  loaded() { shot loaded && ! grey_marker loaded 69; }
  wait_until 10 loaded || fail "the panel still shows the length 0.25 after the load"
else
  fail "no chooser opened"
fi

# jalv's File > Save, into a folder named in its chooser.
xdotool mousemove $((tx + 19)) $((ty + 12)) click 1
sleep 0.5
xdotool mousemove $((tx + 46)) $((ty + 37)) click 1
save_dialog() { xdotool search --name "Save State" | grep -q .; }
wait_until 20 save_dialog || fail "no save dialog"
sleep 0.5
xdotool type --delay 30 "$out/saved"
# The chooser may still complete the typed name: Return again until saved.
saved() {
  xdotool key Return
  sleep 0.5
  test -s "$out/saved/state.ttl"
}
wait_until 10 saved || fail "jalv saved nothing"
sleep 0.5

# The ports as jalv saved them, and the block beside them.
values=$(python3 "$here/lv2-state.py" check "$out/saved" "$ir") || fail "the saved state: $values"
echo "saved ports: $values"
port() { awk -v k="$1" '{for (i = 1; i <= NF; i++) {split($i, kv, "="); if (kv[1] == k) print kv[2]}}' <<<"$values"; }
awk -v m="$(port mix)" 'BEGIN {exit !(m != "" && m != 0.8)}' || fail "the mix port is still 0.8 after the drag"
awk -v g="$(port out_gain)" -v l="$(port fir_length)" 'BEGIN {exit !(g != 0.6 && l > 0 && l < 0.02)}' ||
  fail "the ports do not hold the automatic gain and length of a 480-sample response"

[ "$failures" -eq 0 ] && echo "jalv.gtk3: the restored session shown, the drag set the mix port to $(port mix)," \
  "the load set gain and length to $(port out_gain) and $(port fir_length)"
exit "$failures"
