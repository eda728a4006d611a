#!/bin/bash
# Minimised to the notification area (XEmbed) and back by a double-click on
# the icon or by a second start; the icon comes back when the tray host
# restarts.
. "$(dirname "$0")/lib.sh"

start_widget
wait_for_widget
wait_for 10 "the tray icon" find_tray_icon
TRAY_ICON_WINDOW=$(find_tray_icon)
wait_for 5 "the widget on top" has_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE
place=$(widget_origin)
pass "the icon is in the tray"

neither_mapped() {
    [ -z "$(mapped_window_of_class TVantelMainForm)" ] && [ -z "$(mapped_window_of_class TBackForm)" ]
}
pointer_to 533 42  # the minimise button
xdotool click 1
wait_for 5 "both windows hidden" neither_mapped
find_tray_icon >/dev/null || fail "the icon left the tray"
pass "minimise leaves only the icon"

icon_click() {
    eval "$(xdotool getwindowgeometry --shell "$TRAY_ICON_WINDOW")"
    xdotool mousemove $(( X + WIDTH / 2 )) $(( Y + HEIGHT / 2 ))
    xdotool click "$@"
}
icon_click 1
icon_click 3
sleep 0.6  # past the double-click interval: a single click must not bring it back
neither_mapped || fail "a single click or a right-click brought the widget back"
pass "single and right clicks do nothing"

icon_click --repeat 2 --delay 80 1
wait_for 5 "both windows back" both_windows_mapped
[ "$(widget_origin)" = "$place" ] || fail "back at $(widget_origin), not $place"
[ "$(window_position "$BACK_WINDOW")" = "$place" ] || fail "the background came back elsewhere"
wait_for 5 "the widget on top again" has_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "the background on top again" has_state "$BACK_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "no taskbar entry again" has_state "$WIDGET_WINDOW" _NET_WM_STATE_SKIP_TASKBAR
pass "a double-click brings both back at the same place, on top"

pointer_to 533 42
xdotool click 1
wait_for 5 "both windows hidden again" neither_mapped
timeout 2 "$PELMORA" >/dev/null 2>&1
status=$?
[ "$status" -eq 0 ] || fail "a second start beside the hidden widget exited with $status"
wait_for 5 "both windows back after a second start" both_windows_mapped
[ "$(widget_origin)" = "$place" ] || fail "back at $(widget_origin), not $place"
wait_for 5 "the pair on top after a second start" has_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE
pass "a second start ends at once and brings the hidden widget back"

kill "$TEST_DISPLAY_TRAY_PID"
wait_for 5 "the tray host gone" bash -c "! '$PELMORA_SOURCE/scripts/x-selection-owned' _NET_SYSTEM_TRAY_S0"
trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 28 \
    --transparent false --expand false >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 10 "the icon in the new tray" find_tray_icon
pass "the icon comes back when the tray host restarts"
