#!/bin/bash
# With no notification area, minimise iconifies both windows instead of
# hiding them beyond reach.
. "$(dirname "$0")/lib.sh"

kill "$TEST_DISPLAY_TRAY_PID"
wait_for 5 "the tray host gone" bash -c "! '$PELMORA_SOURCE/scripts/x-selection-owned' _NET_SYSTEM_TRAY_S0"

start_widget
wait_for_widget
pointer_to 533 42
xdotool click 1
iconic() {
    xprop -id "$1" WM_STATE | grep -q 'window state: Iconic'
}
wait_for 5 "the widget iconified" iconic "$WIDGET_WINDOW"
wait_for 5 "the background iconified" iconic "$BACK_WINDOW"
kill -0 "$WIDGET_PID" || fail "the widget ended"
pass "without a tray, minimise iconifies both windows"

xdotool windowactivate "$WIDGET_WINDOW" 2>/dev/null || xdotool windowmap "$WIDGET_WINDOW"
wait_for 5 "both windows back" both_windows_mapped
pass "restoring the widget brings its background back"
