# The scenarios of real-mouse-test.sh (sourced by it), over the test
# editor's layout in TestEditor.h: the knob (tag 0) at 10,10-70,70, the
# kick button (tag 1005) at 120,80-193,105, the on/off button (tag 3) at
# 220,80-238,100, the press probe (tag 4) at 20,150-120,200.

knob_x=40
knob_y=40
kick_x=156
kick_y=92
onoff_x=229
onoff_y=90
probe_x=70
probe_y=175

# The probe: the press's own buttons arrive whether the button is held or
# already up when the press is handled.
begin probe-quick-click
click_quick $probe_x $probe_y 1
finish
expect_param 4 0.015625  # left
expect_count "beginEdit 4" 1
expect_count "endEdit 4" 1

begin probe-held-click
click_held $probe_x $probe_y 1
finish
expect_param 4 0.015625
expect_count "beginEdit 4" 1
expect_count "endEdit 4" 1

begin probe-control-right-click
xdotool keydown ctrl
pause
click_quick $probe_x $probe_y 3
pause
xdotool keyup ctrl
finish
expect_param 4 0.3125  # right + control

# Linear knob: 200 pixels up go from 0 to 1; with shift 300 pixels do.
send "knobmode 2"
begin knob-linear-200-up
send "set 0 0"
pause 0.3
drag_path $knob_x $knob_y $knob_x $((knob_y - 50)) $knob_x $((knob_y - 100)) $knob_x $((knob_y - 150)) \
  $knob_x $((knob_y - 200))
finish
expect_param 0 1.0
expect_count "beginEdit 0" 1
expect_count "endEdit 0" 1
[ "$(automated 0 | head -1)" != "" ] || fail "the knob reported nothing while dragged"

begin knob-linear-shift-150-up
send "set 0 0"
pause 0.3
xdotool keydown shift
pause
drag_path $knob_x $knob_y $knob_x $((knob_y - 75)) $knob_x $((knob_y - 150))
pause
xdotool keyup shift
finish
expect_param 0 0.5 0.01  # 150 of 300 pixels
expect_count "beginEdit 0" 1
expect_count "endEdit 0" 1

# Shift pressed in the middle of a drag: no jump, finer steps from there.
begin knob-shift-mid-drag
send "set 0 0"
pause 0.3
xdotool mousemove $(at $knob_x $knob_y)
pause
xdotool mousedown 1
pause
xdotool mousemove $(at $knob_x $((knob_y - 100)))  # 0.5
pause
xdotool keydown shift
pause
xdotool mousemove $(at $knob_x $((knob_y - 101)))  # still about 0.5
pause
xdotool mousemove $(at $knob_x $((knob_y - 160)))  # 60 more pixels of 300: 0.7
pause
xdotool mouseup 1
pause
xdotool keyup shift
finish
expect_param 0 0.7 0.01
# The values before and after shift went down are 1 pixel apart.
automated 0 | awk 'NR == 2 {before = $1} NR == 3 {d = $1 - before; exit !(d >= 0 && d < 0.01)}' ||
  fail "the knob jumped when shift went down: $(automated 0 | tr '\n' ' ')"

# Circular knob: a drag from the right, down past the lower right end and
# across the dead zone to the lower left, sticks to the maximum.
send "knobmode 0"
begin knob-circular-dead-zone
send "set 0 0.5"
pause 0.3
drag_path 65 40 62 55 40 68 20 55 14 48
finish
expect_param 0 1.0
expect_count "beginEdit 0" 1
expect_count "endEdit 0" 1

# The wheel: one notch is 0.1, in a gesture of its own.
begin knob-wheel-notch
send "set 0 0.5"
pause 0.3
xdotool mousemove $(at $knob_x $knob_y)
pause
xdotool click 4
finish
expect_param 0 0.6 0.001
expect_count "beginEdit 0" 1
expect_count "endEdit 0" 1

# Control-click resets to the default once; control-shift-click does not.
send "knobmode 2"
begin knob-control-click-held
send "set 0 0.2"
pause 0.3
xdotool keydown ctrl
pause
click_held $knob_x $knob_y 1
pause
xdotool keyup ctrl
finish
expect_param 0 0.5
expect_automated 0 0.5
expect_count "beginEdit 0" 1
expect_count "endEdit 0" 1

begin knob-control-click-quick
send "set 0 0.2"
pause 0.3
xdotool keydown ctrl
pause
click_quick $knob_x $knob_y 1
pause
xdotool keyup ctrl
finish
expect_param 0 0.5
expect_automated 0 0.5

begin knob-control-shift-click
send "set 0 0.2"
pause 0.3
xdotool keydown ctrl keydown shift
pause
click_held $knob_x $knob_y 1
pause
xdotool keyup shift keyup ctrl
finish
expect_param 0 0.2

# A right click leaves the knob alone.
begin knob-right-click
send "set 0 0.3"
pause 0.3
click_quick $knob_x $knob_y 3
finish
expect_param 0 0.3
expect_count "beginEdit 0" 0

# Kick button: pressed inside and released outside reports 1, then a
# final 0; a quick click reports 1 then 0 as well. Its tag is no parameter
# of the effect, so its gestures do not reach the host.
begin kick-press-inside-release-outside
drag_path $kick_x $kick_y $((kick_x + 60)) $((kick_y + 60))
finish
[ "$(automated 1005 | head -1)" = "1.000000" ] || fail "the kick button did not report 1 first"
[ "$(automated 1005 | tail -1)" = "0.000000" ] || fail "the kick button did not end at 0"
expect_count "beginEdit 1005" 0
expect_count "endEdit 1005" 0

begin kick-quick-click
click_quick $kick_x $kick_y 1
finish
expect_automated 1005 1 0
expect_count "beginEdit 1005" 0

begin kick-held-click
click_held $kick_x $kick_y 1
finish
expect_automated 1005 1 0

# On/off button: toggles on the press (while still held), quick or held.
begin onoff-toggles-on-press
send "set 3 0"
pause 0.3
xdotool mousemove $(at $onoff_x $onoff_y)
pause
xdotool mousedown 1
pause 0.3
send "params"
pause 0.3
xdotool mouseup 1
finish
scenario_lines | awk '$1 == "params" {print $5; exit}' | grep -q '^1.000000$' ||
  fail "the button was not on while held: $(scenario_lines | grep '^params' | head -1)"
expect_param 3 1.0
expect_count "beginEdit 3" 1
expect_count "endEdit 3" 1

begin onoff-quick-click
click_quick $onoff_x $onoff_y 1
finish
expect_param 3 0.0

begin onoff-held-click
click_held $onoff_x $onoff_y 1
finish
expect_param 3 1.0

begin onoff-from-0.7
send "set 3 0.7"
pause 0.3
click_quick $onoff_x $onoff_y 1
finish
expect_param 3 1.0
