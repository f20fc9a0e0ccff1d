# The scenarios of real-mouse-test.sh (sourced by it), over the test
# editor's layout in TestEditor.h.

# The probe: the press's own buttons arrive whether the button is held or
# already up when the press is handled.
probe_x=70
probe_y=175
probe_param=4

begin probe-quick-click
click_quick $probe_x $probe_y 1
finish
expect_param $probe_param 0.015625  # left
expect_count "beginEdit $probe_param" 1
expect_count "endEdit $probe_param" 1

begin probe-held-click
click_held $probe_x $probe_y 1
finish
expect_param $probe_param 0.015625
expect_count "beginEdit $probe_param" 1
expect_count "endEdit $probe_param" 1

begin probe-control-quick-click
xdotool keydown ctrl
pause
click_quick $probe_x $probe_y 1
pause
xdotool keyup ctrl
finish
expect_param $probe_param 0.265625  # left + control

begin probe-right-click
click_quick $probe_x $probe_y 3
finish
expect_param $probe_param 0.0625  # right
