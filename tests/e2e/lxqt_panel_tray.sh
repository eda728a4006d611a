#!/bin/bash
# A real panel whose notification area speaks only the D-Bus item protocol
# (LXQt's, beside openbox; run through scripts/with-test-display --lxqt-panel):
# the icon shows in it, and one click on it brings the minimised widget back
# at its place, on top.
. "$(dirname "$0")/lib.sh"

item_registered() {
    dbus-send --session --print-reply=literal --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null | grep -q StatusNotifierItem
}
icon_shown() {  # the panel's first item, at its left end, is not the panel's plain ground
    [ "$(import -window root -crop 20x20+4+4 +repage -format '%k' info: 2>/dev/null)" -gt 20 ]
}

start_widget
wait_for_widget
wait_for 10 "the widget's item registered with the panel" item_registered
wait_for 10 "the icon drawn in the panel" icon_shown
place=$(widget_origin)
pass "the icon is in LXQt's notification area"

hidden() { [ -z "$(mapped_window_of_class TVantelMainForm)" ] && [ -z "$(mapped_window_of_class TBackForm)" ]; }
pointer_to 533 42  # the minimise button
xdotool click 1
wait_for 5 "both windows hidden" hidden
xdotool mousemove 14 14 click 1
wait_for 5 "both windows back after one click on the icon" both_windows_mapped
[ "$(widget_origin)" = "$place" ] || fail "back at $(widget_origin), not $place"
wait_for 5 "the pair on top again" has_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "the widget directly above its background again" widget_directly_above_background
pass "one click on the icon brings the widget back at the same place, on top"
