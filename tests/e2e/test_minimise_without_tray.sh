#!/bin/bash
# With no notification area, minimise iconifies both windows instead of
# hiding them beyond reach, and the pair has an entry in the task list to come
# back from.
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

in_task_list() {
    xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$1")" && lacks_state "$1" _NET_WM_STATE_SKIP_TASKBAR
}
wait_for 5 "the background in the task list" in_task_list "$BACK_WINDOW"
[ "$(xprop -id "$BACK_WINDOW" _NET_WM_NAME WM_NAME | grep -c '"Pelmora"')" -ge 1 ] ||
    fail "the task list entry is not named Pelmora"
pass "the iconified pair has one task list entry, named Pelmora"

# What a task list does on a click: activate the entry's window.
xdotool windowactivate "$BACK_WINDOW" 2>/dev/null || xdotool windowmap "$BACK_WINDOW"
wait_for 5 "both windows back" both_windows_mapped
wait_for 5 "the task list entry gone again" has_state "$BACK_WINDOW" _NET_WM_STATE_SKIP_TASKBAR
wait_for 5 "the widget directly above its background" widget_directly_above_background
pass "activating the task list entry brings the pair back, out of the task list again"

pointer_to 533 42
xdotool click 1
wait_for 5 "the widget iconified again" iconic "$WIDGET_WINDOW"
timeout 2 "$PELMORA" >/dev/null 2>&1 || fail "a second start beside the iconified widget failed"
wait_for 5 "both windows back after a second start" both_windows_mapped
pass "a second start brings the iconified pair back"
