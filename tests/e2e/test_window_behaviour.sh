#!/bin/bash
# The widget on a real desktop: no taskbar entry, on top after start and at
# the very bottom on request, minimised to the notification area and back,
# dragged as one piece, a menu on the body picture only, closed from the menu
# with its placement saved and restored. One scenario for every window
# manager of the test display (--wm).
. "$(dirname "$0")/lib.sh"

xmessage -name ordinary "an ordinary window" &
E2E_PIDS+=($!)
wait_for 10 "an ordinary window" client_of_class Xmessage
OTHER=$(client_of_class Xmessage)

start_widget
wait_for_widget

wait_for 5 "no taskbar entry" has_state "$WIDGET_WINDOW" _NET_WM_STATE_SKIP_TASKBAR
has_state "$BACK_WINDOW" _NET_WM_STATE_SKIP_TASKBAR || fail "the background has a taskbar entry"
pass "neither window has a taskbar entry"

above_other() {
    [ "$(stacking_index "$BACK_WINDOW")" -gt "$(stacking_index "$OTHER")" ] && widget_directly_above_background
}
below_other() {
    [ "$(stacking_index "$WIDGET_WINDOW")" -lt "$(stacking_index "$OTHER")" ] && widget_directly_above_background
}
wait_for 5 "both windows on top" has_state "$BACK_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "the widget on top" has_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE
xdotool windowactivate --sync "$OTHER" 2>/dev/null || true
wait_for 5 "the pair above the ordinary window" above_other
pass "after the start both stand above an ordinary window, the widget directly above its background"

menu_pick first  # "Stay on top"
wait_for 5 "the widget sent below" has_state "$WIDGET_WINDOW" _NET_WM_STATE_BELOW
wait_for 5 "the background sent below" has_state "$BACK_WINDOW" _NET_WM_STATE_BELOW
lacks_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE || fail "still marked above"
wait_for 5 "the pair below the ordinary window" below_other
pass "unchecked, both sit at the bottom, the widget still directly above its background"

menu_pick first
wait_for 5 "the widget on top again" has_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "the background on top again" has_state "$BACK_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "the pair above the ordinary window again" above_other
pass "checked again, both are back on top"

# Into the notification area and back: on the D-Bus item protocol by one
# activation (all such a tray ever sends), elsewhere by a second start.
place=$(widget_origin)
hidden() { [ -z "$(mapped_window_of_class TVantelMainForm)" ] && [ -z "$(mapped_window_of_class TBackForm)" ]; }
pointer_to 533 42  # the minimise button
xdotool click 1
wait_for 5 "both windows hidden in the notification area" hidden
if [ "$TEST_DISPLAY_WM" = xfwm4 ]; then
    status_notifier_activate
    how="one activation of its icon"
else
    timeout 2 "$PELMORA" >/dev/null 2>&1 || fail "a second start failed"
    how="a second start"
fi
wait_for 5 "both windows back" both_windows_mapped
# A reparenting window manager may show the window once where it would put
# a new one before the widget's own place reaches it.
at_place() { [ "$(widget_origin)" = "$place" ]; }
wait_for 5 "the widget back at $place" at_place
wait_for 5 "the pair on top again" has_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "the widget directly above its background again" widget_directly_above_background
pass "minimised to the notification area, back by $how, at the same place and on top"

# A right-click on the frame (the background window) opens nothing.
pointer_to 300 12
xdotool click 3
sleep 0.3  # give a menu the time it would need to appear
no_popup_open || fail "a right-click on the frame opened a menu"
pass "no menu on the frame"

# Drag by the title strip: both windows move by the same amount.
read -r -a before <<<"$(widget_origin)"
pointer_to 300 12
xdotool mousedown 1
for step in 1 2 3 4 5; do xdotool mousemove_relative -- 20 -10; done
xdotool mouseup 1
moved() {
    read -r -a now <<<"$(window_position "$BACK_WINDOW")"
    [ "${now[0]}" -eq $(( before[0] + 100 )) ] && [ "${now[1]}" -eq $(( before[1] - 50 )) ] &&
        [ "$(window_position "$WIDGET_WINDOW")" = "$(window_position "$BACK_WINDOW")" ]
}
wait_for 5 "both windows moved by (100, -50)" moved
pass "a drag from the title strip moved both windows together"
read -r -a dropped <<<"$(widget_origin)"

menu_pick last  # "Close"
wait_for 10 "the widget to end" process_exited "$WIDGET_PID"
wait "$WIDGET_PID"
status=$?
[ "$status" -eq 0 ] || fail "the widget exited with $status"
pass "Close from the menu ended the widget with exit code 0"

ini="$XDG_CONFIG_HOME/Talvessa/pelmora.INI"
[ -f "$ini" ] || fail "no placement file"
for section in TVantelMainForm TBackForm; do
    keys=$(awk -v s="[$section]" '$0 == s {on=1; next} /^\[/ {on=0} on && /=/ {sub(/=.*/, ""); print}' "$ini" |
        tr '\n' ' ')
    expected="FormVersion Flags ShowCmd PixelsPerInch MinMaxPos(1920x1080) MinMaxPos NormPos(1920x1080) NormPos Visible "
    [ "$keys" = "$expected" ] || fail "[$section] keys are '$keys'"
done
grep -q "^NormPos=${dropped[0]},${dropped[1]}," "$ini" || fail "the saved place is not where the widget ended"
pass "both sections of the placement file are written with their keys"

start_widget
wait_for_widget
where_it_ended() {
    [ "$(widget_origin)" = "${dropped[0]} ${dropped[1]}" ] &&
        [ "$(window_position "$BACK_WINDOW")" = "${dropped[0]} ${dropped[1]}" ]
}
wait_for 5 "both windows at ${dropped[*]}" where_it_ended
pass "the next start stands where the last one ended"
