#!/bin/bash
# The "Settings" link pauses the refresh while "Configure Settings" is open;
# Apply writes the settings and the widget follows them at once; Cancel
# writes nothing and still refreshes at once.
. "$(dirname "$0")/lib.sh"

start_widget
wait_for_widget

# Out of the way of the dialog, which opens in the middle of the screen.
pointer_to 300 12
xdotool mousedown 1
xdotool mousemove 320 30
xdotool mouseup 1
wait_for 5 "the widget in the corner" bash -c "[ \"\$(xwininfo -id $BACK_WINDOW | awk '/Absolute upper-left X/ {print \$4}')\" -lt 100 ]"

dialog_window() {
    xdotool search --onlyvisible --name '^Configure Settings$' 2>/dev/null | head -n 1
}
dialog_open() { [ -n "$(dialog_window)" ]; }
dialog_closed() { [ -z "$(dialog_window)" ]; }
# Clicks a point of the dialog given in its client coordinates.
dialog_click() {
    eval "$(xdotool getwindowgeometry --shell "$(dialog_window)")"
    xdotool mousemove $(( X + $1 )) $(( Y + $2 )) click 1
}

shown=$(uptime_pixels)
wait_for 5 "the uptime to refresh" uptime_changed_from "$shown"
pass "the widget refreshes every second"

pointer_to 480 42  # "Settings"
xdotool click 1
wait_for 10 "Configure Settings" dialog_open
paused=$(uptime_pixels)
sleep 2.5  # a refresh would have changed the uptime twice by now
[ "$(uptime_pixels)" = "$paused" ] || fail "the widget refreshed while the dialog was open"
pass "the refresh is paused while the dialog is open"

settings="$XDG_CONFIG_HOME/Talvessa/Talvessa.reg"
dialog_click 600 105  # the refresh-speed slider, towards its slow end
xdotool key End
dialog_click 276 360  # "Apply Settings"
wait_for 5 "the dialog to close" dialog_closed
grep -q '"RefreshSpeed"="60"' "$settings" || fail "RefreshSpeed not written: $(cat "$settings")"
grep -q '"NrDrives"=' "$settings" || fail "NrDrives not written"
pass "Apply writes the settings"

wait_for 3 "a refresh right after the dialog" uptime_changed_from "$paused"
steady=$(uptime_pixels)
sleep 2.5
[ "$(uptime_pixels)" = "$steady" ] || fail "still refreshing every second after choosing 60 seconds"
pass "a refresh runs at once, then the widget follows the new speed"

before=$(md5sum <"$settings")
pointer_to 480 42
xdotool click 1
wait_for 10 "Configure Settings again" dialog_open
dialog_click 380 360  # "Cancel"
wait_for 5 "the dialog to close" dialog_closed
[ "$(md5sum <"$settings")" = "$before" ] || fail "Cancel changed the settings file"
wait_for 3 "a refresh right after Cancel" uptime_changed_from "$steady"
pass "Cancel writes nothing and still refreshes at once"
