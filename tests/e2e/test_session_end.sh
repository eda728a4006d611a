#!/bin/bash
# The session ends without the Close item: SIGTERM (a logout, `kill`) and
# SIGHUP close the widget as its menu does, so it comes back where it was
# dragged; and a tray host that dies while the widget hides in it does not
# strand the widget.
. "$(dirname "$0")/lib.sh"

PLACEMENT="$XDG_CONFIG_HOME/Talvessa/pelmora.INI"

for signal in TERM HUP; do
    start_widget
    wait_for_widget
    drag_by 100 -50
    place=$(widget_origin)
    kill -s "$signal" "$WIDGET_PID"
    wait_for 10 "the widget to end on SIG$signal" process_exited "$WIDGET_PID"
    wait "$WIDGET_PID"
    status=$?
    [ "$status" -eq 0 ] || fail "the widget exited with $status on SIG$signal"
    grep -q '^Visible=0' "$PLACEMENT" || fail "the widget's section was not saved as on Close"
    start_widget
    wait_for_widget
    wait_for 5 "the widget back at $place" both_at "$place"
    pass "after SIG$signal the widget starts where it was dragged"
    kill "$WIDGET_PID"
    wait_for 10 "the widget to end" process_exited "$WIDGET_PID"
done

start_widget
wait_for_widget
wait_for 10 "the tray icon" find_tray_icon
place=$(widget_origin)
neither_mapped() {
    [ -z "$(mapped_window_of_class TVantelMainForm)" ] && [ -z "$(mapped_window_of_class TBackForm)" ]
}
pointer_to 533 42  # the minimise button
xdotool click 1
wait_for 5 "both windows hidden" neither_mapped
kill "$TEST_DISPLAY_TRAY_PID"
wait_for 10 "both windows back after the tray host died" both_windows_mapped
[ "$(widget_origin)" = "$place" ] || fail "back at $(widget_origin), not $place"
pass "a tray host that dies brings the hidden widget back on screen"
