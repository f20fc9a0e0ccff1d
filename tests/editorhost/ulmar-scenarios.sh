# The scenarios of real-mouse-test.sh (sourced by it) over the plug-in's own
# editor: what a person sees and changes through the knobs, read-outs, load
# button, L/R switches, response panel and link, checked on the host's
# parameter values and on screenshots read back pixel by pixel.
#
# Needs ULMAR_OPENED_ADDRESSES: the file the stand-in desktop opener on PATH
# appends each address it is asked to open to.

repo=$(cd "$here/../.." && pwd)

# The editor's layout, in editor pixels.
mix_x=37
gain_x=109
length_x=181
knob_y=38
load_x=257
load_y=57
left_x=240
right_x=275
switch_y=85
link_x=257
link_y=20
panel_left=14
panel_top=111
panel_width=276
middle_row=61  # of the panel

# The responses the load scenarios choose, and what the good one sets.
good_wav=$out/response.wav
bad_wav=$out/not-a-response.wav
read -r auto_length auto_gain < <(python3 "$here/make-test-response.py" "$good_wav" "$bad_wav")
opened=${ULMAR_OPENED_ADDRESSES:?}
rm -f "$opened"

shot() { import -window root "$out/$1.png" 2>/dev/null; }

# Red, green and blue of one screenshot pixel at editor point x y.
pixel() {
  convert "$out/$1.png" -crop "1x1+$((editor_x + $2))+$((editor_y + $3))" txt:- |
    sed -n -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/p'
}
brightness() { pixel "$@" | awk '{print $1 + $2 + $3}'; }

# How many pixels of an editor rectangle (x y width height) differ between
# two screenshots.
region_diff() {
  local g="$5x$6+$((editor_x + $3))+$((editor_y + $4))"
  compare -metric AE "$out/$1.png[$g]" "$out/$2.png[$g]" null: 2>&1 | awk '{print $1}'
}
# How many pixels of a knob differ from one image of the film strip.
knob_diff() {
  compare -metric AE "$out/$1.png[60x60+$((editor_x + $2 - 30))+$((editor_y + 8))]" \
    "$repo/resources/knob.bmp[60x60+0+$(($3 * 60))]" null: 2>&1 | awk '{print $1}'
}
# How many pixels of a switch differ from its off (0) or on (1) image.
switch_diff() {
  compare -metric AE "$out/$1.png[18x20+$((editor_x + $2 - 9))+$((editor_y + 75))]" \
    "$repo/resources/$3.bmp[18x20+0+$(($4 * 20))]" null: 2>&1 | awk '{print $1}'
}
mix_readout() { region_diff "$1" "$2" 7 85 60 20; }
gain_readout() { region_diff "$1" "$2" 79 85 60 20; }
length_readout() { region_diff "$1" "$2" 136 85 90 20; }
panel_diff() { region_diff "$1" "$2" $panel_left $panel_top $panel_width 122; }

# The first panel column of the middle row drawn red rather than green.
split_column() {
  convert "$out/$1.png" -crop "${panel_width}x1+$((editor_x + panel_left))+$((editor_y + panel_top + middle_row))" txt:- |
    sed -n -E 's/^([0-9]+),0: \(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/p' |
    awk '$2 > $3 + 40 {print $1; found = 1; exit} END {if (!found) print '$panel_width'}'
}
# Where the red starts for a length parameter. The used columns (cut: the
# used taps' share of the panel's width) draw the lines that end in columns
# 1 to cut - 1 in green; the line ending in column cut is the first red one,
# and it starts in column cut - 1, over the end of the last green line.
# The host logs six decimals: a length of whole 16-tap blocks can print
# just below its block count, hence the small allowance.
expected_split() {
  awk -v v="$1" 'BEGIN {taps = int(2048 * v + 0.0015) * 16; print int('$panel_width' * taps / 32768) - 1}'
}

expect_split() {  # screenshot, length parameter
  local got want
  got=$(split_column "$1")
  want=$(expected_split "$2")
  [ "$got" = "$want" ] || fail "$1: the split is at column $got, expected $want for length $2"
}
expect_same() {  # what, differing pixels
  [ "$2" = 0 ] || fail "$1 changed ($2 pixels)"
}
expect_changed() {
  [ -n "$2" ] && [ "$2" != 0 ] || fail "$1 did not change"
}

window_named() { xdotool search --name "$1" 2>/dev/null | head -1; }
wait_window() {  # title pattern, seconds: the window id once it shows
  local i id
  for ((i = 0; i < $2 * 10; i++)); do
    id=$(window_named "$1")
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_window_gone() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    [ -z "$(window_named "$1")" ] && return 0
    sleep 0.1
  done
  return 1
}
dialog_title='^Open impulse response file \.\.\.$'

# Types a path into the open file dialog and confirms it. A name outside
# ASCII reaches the dialog's name field through the host's "chars".
choose_file() {
  local dialog
  dialog=$(wait_window "$dialog_title" 15) || { fail "no file dialog"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  pause 0.5
  if LC_ALL=C grep -q '[^ -~]' <<<"$1"; then
    send "chars $(winpath "$1")"
    local i
    for ((i = 0; i < 100; i++)); do
      scenario_lines | grep -q '^chars ' && break
      sleep 0.1
    done
    scenario_lines | grep -q '^chars [1-9]' || fail "the host typed nothing into the dialog"
  else
    xdotool type --delay 20 "$(winpath "$1")"
  fi
  pause
  xdotool key Return
  wait_window_gone "$dialog_title" 10 || fail "the file dialog stayed open"
}

cancel_dialog() {
  local dialog
  dialog=$(wait_window "$dialog_title" 15) || { fail "no file dialog"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  pause 0.5
  xdotool key Escape
  wait_window_gone "$dialog_title" 10 || fail "the file dialog stayed open"
  xdotool windowfocus --sync "$window" 2>/dev/null
}

send "knobmode 2"  # linear: 200 pixels of vertical travel span a knob

# --- At the defaults -------------------------------------------------------
begin defaults
finish
expect_param 0 0.5
expect_param 1 0.5
expect_param 2 0.5
expect_param 3 0
expect_param 4 0
shot defaults
for x in $mix_x $gain_x $length_x; do
  expect_same "knob at $x against image 31" "$(knob_diff defaults $x 31)"
done
expect_same "L against its off image" "$(switch_diff defaults $left_x left 0)"
expect_same "R against its off image" "$(switch_diff defaults $right_x right 0)"
# "... empty ..." in light grey at the panel's top left, nothing light below
# the text in the upper left.
text=$(convert "$out/defaults.png" -crop "70x14+$((editor_x + panel_left))+$((editor_y + panel_top))" txt:- |
  sed -n -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/p' | awk '$1 > 150 && $2 > 150 && $3 > 150' | wc -l)
[ "$text" -gt 10 ] || fail "no light text at the panel's top left ($text pixels)"
expect_split defaults 0.5
read -r r g b < <(pixel defaults $((panel_left + 20)) $((panel_top + middle_row)))
((g > 100 && r < 60)) || fail "the flat line is not green at column 20: $r $g $b"
read -r r g b < <(pixel defaults $((panel_left + 250)) $((panel_top + middle_row)))
((r > 100 && g < 60)) || fail "the flat line is not red at column 250: $r $g $b"
# The band over columns 0-137 lightens the panel; nothing lightens it after.
banded=$(brightness defaults $((panel_left + 60)) $((panel_top + middle_row - 20)))
plain=$(brightness defaults $((panel_left + 200)) $((panel_top + middle_row - 20)))
((banded > plain)) || fail "no band over the used part: $banded against $plain"
edge_in=$(brightness defaults $((panel_left + 136)) $((panel_top + middle_row - 25)))
edge_out=$(brightness defaults $((panel_left + 140)) $((panel_top + middle_row - 25)))
((edge_in > edge_out)) || fail "the band does not end at the marker: $edge_in against $edge_out"
# The marker's brightest pixels stand in column 138.
row=$((panel_top + middle_row - 10))
brightest=$(for x in $(seq 130 146); do echo "$x $(brightness defaults $((panel_left + x)) $row)"; done |
  sort -k2,2n -k1,1n | tail -1 | awk '{print $1}')
[ "$brightest" = 138 ] || fail "the marker's brightest column is $brightest, not 138"

# --- On the real plug-in: quick and held clicks agree ----------------------
begin left-quick-click
click_quick $left_x $switch_y 1
finish
expect_param 3 1
expect_param 4 0
shot left-on
expect_same "L against its on image" "$(switch_diff left-on $left_x left 1)"
# R shows the same state without its own parameter changing.
expect_same "R against its on image" "$(switch_diff left-on $right_x right 1)"

begin left-held-click
click_held $left_x $switch_y 1
finish
expect_param 3 0
expect_param 4 0

# R toggles from the state it shows: L on shows R on, so R turns it off.
begin right-toggles-from-shown-state
click_quick $left_x $switch_y 1
pause 0.3
click_held $right_x $switch_y 1
finish
expect_param 3 1
expect_param 4 0
shot right-off
expect_same "R against its off image" "$(switch_diff right-off $right_x right 0)"
expect_same "L against its off image" "$(switch_diff right-off $left_x left 0)"

begin right-quick-click
click_quick $right_x $switch_y 1
finish
expect_param 3 1
expect_param 4 1
send "set 3 0"
send "set 4 0"

# A control-click resets a knob, quick or held.
begin mix-control-click-quick
send "set 0 0.2"
pause 0.3
xdotool keydown ctrl
pause
click_quick $mix_x $knob_y 1
pause
xdotool keyup ctrl
finish
expect_param 0 0.5

begin mix-control-click-held
send "set 0 0.9"
pause 0.3
xdotool keydown ctrl
pause
click_held $mix_x $knob_y 1
pause
xdotool keyup ctrl
finish
expect_param 0 0.5

# --- The length knob moves its read-out and the split while dragged --------
begin length-drag
shot length-before
xdotool mousemove $(at $length_x $knob_y)
pause
xdotool mousedown 1
pause
xdotool mousemove $(at $length_x $((knob_y - 30)))
pause 0.5
shot length-mid-1
xdotool mousemove $(at $length_x $((knob_y - 60)))
pause 0.5
shot length-mid-2
xdotool mouseup 1
finish
expect_param 2 0.8 0.01
expect_changed "the length read-out during the drag" "$(length_readout length-before length-mid-1)"
expect_changed "the length read-out later in the drag" "$(length_readout length-mid-1 length-mid-2)"
s0=$(split_column length-before)
s1=$(split_column length-mid-1)
s2=$(split_column length-mid-2)
((s0 < s1 && s1 < s2)) || fail "the split did not follow the drag: $s0 $s1 $s2"
expect_split length-mid-2 "$(param 2)"
expect_same "the mix read-out" "$(mix_readout length-before length-mid-2)"
expect_same "the gain read-out" "$(gain_readout length-before length-mid-2)"

# --- Dragging mix changes its own read-out only ----------------------------
begin mix-drag
shot mix-before
drag_path $mix_x $knob_y $mix_x $((knob_y + 20)) $mix_x $((knob_y + 40))
finish
expect_param 0 0.3 0.01
expect_param 2 0.8 0.01
shot mix-after
expect_changed "the mix read-out" "$(mix_readout mix-before mix-after)"
expect_same "the gain read-out" "$(gain_readout mix-before mix-after)"
expect_same "the length read-out" "$(length_readout mix-before mix-after)"
expect_same "the response panel" "$(panel_diff mix-before mix-after)"

# --- The panel: a right click at its middle sets the length to 0.5 ---------
begin panel-right-click
shot panel-before
click_quick $((panel_left + panel_width / 2)) $((panel_top + 60)) 3
finish
expect_param 2 0.5
shot panel-after
expect_split panel-after 0.5
expect_same "the length knob against image 31" "$(knob_diff panel-after $length_x 31)"
expect_changed "the length read-out" "$(length_readout panel-before panel-after)"

begin panel-left-click
send "set 2 0.5"
click_held $((panel_left + 40)) $((panel_top + 60)) 1
finish
expect_param 2 0.5
shot panel-left
expect_same "the response panel" "$(panel_diff panel-after panel-left)"
expect_same "the length read-out" "$(length_readout panel-after panel-left)"

# --- A host change leaves the open editor; reopening shows it ---------------
begin host-change
send "set 1 0.9"
pause 0.5
shot host-change
expect_same "the gain knob after a host change" "$(knob_diff host-change $gain_x 31)"
send "reopen"
pause 1
shot host-reopen
expect_changed "the gain knob after reopening" "$(knob_diff host-reopen $gain_x 31)"
expect_changed "the gain read-out after reopening" "$(gain_readout host-change host-reopen)"
finish
expect_param 1 0.9
send "set 1 0.5"
send "reopen"
pause 1

# --- The load button --------------------------------------------------------
# It opens the dialog on release, not on press; cancelling changes nothing.
begin load-press-then-cancel
shot load-before
xdotool mousemove $(at $load_x $load_y)
pause
xdotool mousedown 1
sleep 1
[ -z "$(window_named "$dialog_title")" ] || fail "the dialog opened on the press"
xdotool mouseup 1
cancel_dialog
finish
expect_param 1 0.5
expect_param 2 0.5
shot load-cancelled
expect_same "the editor after a cancelled load" "$(region_diff load-before load-cancelled 0 0 304 245)"

# Quick and held clicks both open it.
begin load-quick-click-opens
click_quick $load_x $load_y 1
cancel_dialog
finish

begin load-held-click-opens
click_held $load_x $load_y 1
cancel_dialog
finish

# A text file named .wav: the message box, and nothing changes.
begin load-not-a-wave-file
click_quick $load_x $load_y 1
choose_file "$bad_wav"
box=$(wait_window '^Ulmar$' 10) || fail "no message box"
if [ -n "$box" ]; then
  pause 0.3
  shot load-refused-box
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key Return
  wait_window_gone '^Ulmar$' 10 || fail "the message box stayed"
fi
xdotool windowfocus --sync "$window" 2>/dev/null
finish
expect_param 1 0.5
expect_param 2 0.5
shot load-refused
expect_same "the editor after a refused load" "$(region_diff load-before load-refused 0 0 304 245)"

# A response: the knobs, read-outs, curve and the host's values follow.
begin load-response
click_held $load_x $load_y 1
choose_file "$good_wav"
xdotool windowfocus --sync "$window" 2>/dev/null
finish
expect_param 1 "$auto_gain" 0.0005
expect_param 2 "$auto_length" 0.0001
expect_param 0 0.3 0.01
shot loaded
expect_changed "the gain knob" "$(knob_diff loaded $gain_x 31)"
expect_changed "the length knob" "$(knob_diff loaded $length_x 31)"
expect_same "the mix knob" "$(region_diff load-before loaded 7 8 60 60)"
expect_changed "the gain read-out" "$(gain_readout load-before loaded)"
expect_changed "the length read-out" "$(length_readout load-before loaded)"
expect_same "the mix read-out" "$(mix_readout load-before loaded)"
expect_changed "the response panel" "$(panel_diff load-before loaded)"
expect_split loaded "$(param 2)"
# The curve leaves the middle row: many rows of the used part are drawn.
curve=$(convert "$out/loaded.png" -crop "60x100+$((editor_x + panel_left + 2))+$((editor_y + panel_top + 12))" txt:- |
  sed -n -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1 \2 \3/p' | awk '$2 > $1 + 60' | wc -l)
((curve > 100)) || fail "no green curve over the used part ($curve pixels)"
convert "$out/loaded.png" -crop "304x245+$editor_x+$editor_y" +repage "$out/editor-loaded.png"

# --- The link: a plain left click asks the desktop to open the address -----
begin link-right-and-control-click
click_quick $link_x $link_y 3
xdotool keydown ctrl
pause
click_quick $link_x $link_y 1
pause
xdotool keyup ctrl
sleep 2
finish
[ ! -s "$opened" ] || fail "a right or control click opened: $(cat "$opened")"

begin link-plain-click
click_quick $link_x $link_y 1
for _ in $(seq 100); do
  [ -s "$opened" ] && break
  sleep 0.1
done
sleep 1
finish
[ "$(cat "$opened" 2>/dev/null)" = "https://www.ulmar.example/" ] ||
  fail "the opened addresses are '$(cat "$opened" 2>/dev/null)'"
xdotool windowfocus --sync "$window" 2>/dev/null

# --- Two instances, each with its own window; one closes, one goes on ------
begin second-instance
send "instance"
wait_for '^instance 2 ready$' 30 || fail "no second instance"
second=$(wait_window '^Ulmar test host 2$' 10) || fail "no second window"
read -r second_x second_y < <(scenario_lines | awk '$1 == "editor" && $2 == "offset" {print $3 + $9, $4 + $10}' | tail -1)
send "knobmode 2"  # a new editor sets the mode again
pause 0.5
first_x=$editor_x
first_y=$editor_y
shot two-open
editor_x=$second_x
editor_y=$second_y
for x in $mix_x $gain_x $length_x; do
  expect_same "second editor's knob at $x against image 31" "$(knob_diff two-open $x 31)"
done
expect_split two-open 0.5
# Its own controls: L there switches the second instance only.
click_quick $left_x $switch_y 1
finish
expect_param 3 1
send "use 1"
send "params"
send "mark first $scenario"
wait_for "^mark first $scenario\$" || fail "host did not answer"
first_params=$(awk -v m="mark first $scenario" '$1 == "params" {p = $0} $0 == m {print p; exit}' "$log")
[ "$(echo "$first_params" | awk '{print $5}')" = "0.000000" ] || fail "the first instance's L changed: $first_params"
editor_x=$first_x
editor_y=$first_y
expect_same "the first editor while the second is open" "$(region_diff loaded two-open 0 0 304 245)"

begin close-second-keep-first
send "use 2"
send "close"
wait_for '^instance 2 closed$' 10 || fail "the second instance did not close"
wait_window_gone '^Ulmar test host 2$' 10 || fail "the second window stayed"
send "use 1"
xdotool windowfocus --sync "$window" 2>/dev/null
# The panel is drawn with the anti-aliased renderer: it still works.
click_quick $((panel_left + 207)) $((panel_top + 60)) 3
finish
expect_param 2 0.75
shot after-close
expect_split after-close 0.75
expect_changed "the response panel" "$(panel_diff loaded after-close)"
expect_changed "the length read-out" "$(length_readout loaded after-close)"

# --- The file chosen is the file read, whatever its name -------------------
# Each response is chosen in the dialog by typing its full name; the state
# the plug-in then saves must hold that file's samples. A folder outside the
# ANSI code page has responses with other samples beside it at the names
# the code page's best fit makes of it (Wine's is "Lódz", others "Lodz"),
# where a name passed through the code page would have led.
names=$out/names
rm -rf "$names"
samples() { python3 "$here/state-samples.py" "$@"; }
odd_wav=$names/Łódź/ir.wav
samples write "$odd_wav" 3000 7
for lookalike in Lodz Lódz; do samples write "$names/$lookalike/ir.wav" 1500 8; done
# A deep path, as long as Wine's dialog returns: 259 characters as Windows
# names it (Z:\...), twice the 128 that the multimedia layer's name parsing
# takes. (Wine 8's dialog refuses longer names and then fails inside
# itself, so longer paths are opened by the effect's own tests instead.)
deep=$names/deep
while [ $((${#deep} + 2 + 30)) -lt 259 ]; do deep=$deep/sample-library-folder; done
deep_wav=$deep/$(printf 'r%.0s' $(seq $((259 - ${#deep} - 2 - 1 - 4)))).wav
[ $((${#deep_wav} + 2)) -eq 259 ] || fail "the deep path has $((${#deep_wav} + 2)) characters, not 259"
samples write "$deep_wav" 2000 9
plus_wav=$names/j.doe+IRs/L+R.wav
samples write "$plus_wav" 2500 10

# Loads a response through the dialog and checks the saved state's samples;
# shown_path is then the state's path field, read as Windows-1252 text.
load_named() {  # scenario, file
  begin "$1"
  click_held $load_x $load_y 1
  choose_file "$2"
  xdotool windowfocus --sync "$window" 2>/dev/null
  send "chunk"
  finish
  local got want hex
  read -r _ _ got hex < <(scenario_lines | awk '$1 == "chunk"' | tail -1)
  want=$(samples hash "$2")
  [ "$got" = "$want" ] || fail "the state holds samples $got, not those of the chosen file ($want)"
  shown_path=$(python3 -c 'import sys; print(bytes.fromhex(sys.argv[1]).decode("cp1252", "replace"))' "$hex")
  echo "$1: the state shows '$shown_path'"
}

load_named load-outside-code-page "$odd_wav"
if [ "$shown_path" != "$(winpath "$odd_wav")" ]; then
  shown_unix=${shown_path#Z:}
  shown_unix=${shown_unix//\\//}
  [ -f "$shown_unix" ] || fail "no decoy response at the shown name $shown_unix"
fi
load_named load-long-path "$deep_wav"
load_named load-dot-and-plus "$plus_wav"

# --- A host closing an instance inside the editor's loops --------------------
# The second instance comes from its own copy of the library, which the host
# frees right after that instance's effClose.
library_copy=$out/Ulmar_copy.dll
cp "$plugin" "$library_copy"
in_scenario() {  # pattern [seconds]: waits for a line of this scenario
  local i
  for ((i = 0; i < ${2:-20} * 10; i++)); do
    scenario_lines | grep -qE "$1" && return 0
    sleep 0.1
  done
  return 1
}
copy_instance() {  # opens one from the copy; sets second_x, second_y
  send "instance $(winpath "$library_copy")"
  in_scenario '^instance 2 ready$' 30 || { fail "no second instance"; return 1; }
  wait_window '^Ulmar test host 2$' 10 >/dev/null || { fail "no second window"; return 1; }
  read -r second_x second_y < <(scenario_lines | awk '$1 == "editor" && $2 == "offset" {print $3 + $9, $4 + $10}' | tail -1)
}

# From the idle callback the editor makes during a knob drag: the drag goes
# on to the release, the host stays up and hears nothing more from the
# closed instance.
begin close-inside-drag
if copy_instance; then
  send "closeonidle"
  in_scenario '^close on idle 2$' || fail "the host did not arm the close"
  xdotool mousemove $((second_x + mix_x)) $((second_y + knob_y))
  pause
  xdotool mousedown 1
  pause
  xdotool mousemove $((second_x + mix_x)) $((second_y + knob_y - 20))
  in_scenario '^closed in idle 2$' 10 || fail "the host did not close the instance inside the drag"
  xdotool mousemove $((second_x + mix_x)) $((second_y + knob_y - 30))
  pause
  xdotool mouseup 1
  pause 0.3
  wait_window_gone '^Ulmar test host 2$' 10 || fail "the second window stayed"
fi
send "use 1"
finish
[ "$(scenario_lines | awk '/^closed in idle 2$/ {on = 1; next} on && /^(idle|endEdit|automate)/' | wc -l)" = 0 ] ||
  fail "the closed instance still called the host"

# A new instance from the same copy works.
begin new-instance-after-close
if copy_instance; then
  xdotool mousemove $((second_x + mix_x)) $((second_y + knob_y))
  pause
  xdotool click 4
  pause 0.3
  send "params"
  send "mark second-turned"
  in_scenario '^mark second-turned$' || fail "host did not answer"
  second_mix=$(param 0)
  send "close"
  in_scenario '^instance 2 closed$' 10 || fail "the second instance did not close"
  awk -v v="$second_mix" 'BEGIN {exit !(v > 0.5)}' || fail "the new instance's mix is ${second_mix:-missing}"
fi
send "use 1"
xdotool windowfocus --sync "$window" 2>/dev/null
finish

# --- Swapped buttons ---------------------------------------------------------
# Windows sends a left-handed user's primary press as WM_LBUTTONDOWN while the
# key state names the physical right button; Wine swaps neither, so the host
# posts the messages and xdotool holds the physical button.
begin swapped-buttons
send "swapbuttons 1"
in_scenario '^buttons swapped 1$' || fail "the buttons did not swap"
send "reopen"
send "knobmode 2"
send "set 3 0"
send "set 2 0.8"
pause 0.5
# A primary click toggles L.
send "press $left_x $switch_y"
pause 0.5
send "params"
send "mark swapped-left"
in_scenario '^mark swapped-left$' || fail "host did not answer"
[ "$(param 3)" = "1.000000" ] || fail "a primary click on L left it at $(param 3)"
# A primary drag (the physical right button held): the knob's loop follows
# the polled, physical button and runs until that button is let go. (Wine
# moves no knob under it; the loop's passes and one gesture are checked.)
send "set 0 0.5"
xdotool mousemove $(at $mix_x $knob_y)
pause
xdotool mousedown 3
pause 0.3
send "press $mix_x $knob_y"
in_scenario '^pressed '"$mix_x $knob_y"'$' || fail "the host did not post the press"
pause 0.3
xdotool mousemove $(at $mix_x $((knob_y - 20)))
pause 0.3
xdotool mousemove $(at $mix_x $((knob_y - 40)))
pause 0.5
xdotool mouseup 3
pause 0.3
send "params"
send "mark swapped-drag"
in_scenario '^mark swapped-drag$' || fail "host did not answer"
drag_passes=$(scenario_lines | awk '/^mark swapped-left$/ {on = 1} on && /^idle$/ {n++} /^endEdit 0$/ {print n + 0; exit}')
[ "${drag_passes:-0}" -ge 5 ] || fail "the drag ended after ${drag_passes:-0} idle passes with the button still held"
[ "$(count 'beginEdit 0')" = 1 ] && [ "$(count 'endEdit 0')" = 1 ] || fail "the drag was not one gesture"
# A secondary click on the panel sets the length.
send "rpress $((panel_left + panel_width / 2)) $((panel_top + 60))"
pause 0.5
send "params"
send "mark swapped-panel"
in_scenario '^mark swapped-panel$' || fail "host did not answer"
expect_param 2 0.5
# A primary click on the load button opens the file dialog.
send "press $load_x $load_y"
cancel_dialog
send "swapbuttons 0"
send "reopen"
send "set 3 0"
finish

# --- A host closing an instance while its dialogs are up ---------------------
# The host's timer runs inside the dialogs' message loops, so its commands
# close the instance (window, editor, effect, library) with the dialog or
# the error box still open.
second_click() {  # x y: a held click on the second instance's editor
  xdotool mousemove $((second_x + $1)) $((second_y + $2))
  pause
  xdotool mousedown 1
  pause
  xdotool mouseup 1
}
begin close-with-dialog-open
if copy_instance; then
  second_click $load_x $load_y
  dialog=$(wait_window "$dialog_title" 15) || fail "no file dialog"
  send "close"
  in_scenario '^instance 2 closed$' 10 || fail "the second instance did not close"
  # The dialog goes with its owner or is cancelled: nothing is loaded.
  if [ -n "$(window_named "$dialog_title")" ]; then
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    pause 0.5
    xdotool key Escape
  fi
  wait_window_gone "$dialog_title" 10 || fail "the file dialog stayed open"
fi
send "use 1"
xdotool windowfocus --sync "$window" 2>/dev/null
finish

begin close-with-error-box-up
if copy_instance; then
  second_click $load_x $load_y
  choose_file "$bad_wav"
  box=$(wait_window '^Ulmar$' 10) || fail "no message box"
  send "close"
  in_scenario '^instance 2 closed$' 10 || fail "the second instance did not close"
  if [ -n "$(window_named '^Ulmar$')" ]; then
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key Return
  fi
  wait_window_gone '^Ulmar$' 10 || fail "the message box stayed"
fi
send "use 1"
xdotool windowfocus --sync "$window" 2>/dev/null
finish

# After all of it a new instance from the copy loads a response.
begin new-instance-loads
if copy_instance; then
  second_click $load_x $load_y
  choose_file "$good_wav"
  pause 0.5
  send "params"
  send "mark second-loaded"
  in_scenario '^mark second-loaded$' || fail "host did not answer"
  expect_param 1 "$auto_gain" 0.001
  send "close"
  in_scenario '^instance 2 closed$' 10 || fail "the second instance did not close"
fi
send "use 1"
xdotool windowfocus --sync "$window" 2>/dev/null
finish
