#!/bin/bash
# The notification-area icon end to end under Wine, on a virtual display with
# an XEmbed tray (scripts/with-test-display: trayer), in the prefix of
# WINEPREFIX: the icon docks; a right-click and the single clicks do nothing,
# a double-click restores; an icon the shell lost comes back on
# "TaskbarCreated"; the icon leaves with the program.
#
#   test_tray.sh PATH/TO/pelmora_tray_driver.exe
driver=$1
. "$(dirname "$0")/../../e2e/lib.sh"
. "$(dirname "$0")/icon.sh"
log=$E2E_HOME/log
# On failure, what reached the icon's owner.
trap 'status=$?; [ "$status" -ne 0 ] && [ -f "$log" ] && sed "s/^/  log: /" "$log" >&2; e2e_cleanup' EXIT

logged() { grep -qx "$1" "$log"; }

docked() { icon_centre; }
undocked() { ! icon_centre; }

wine "$driver" "$log" &
driver_pid=$!
E2E_PIDS+=("$driver_pid")
wait_for 60 "the driver did not show the icon" logged "shown 1"
wait_for 30 "the icon did not dock in the tray" docked

# A right-click, then a double-click: only the double-click restores.
read -r x y < <(icon_centre)
xdotool mousemove --sync "$x" "$y" click 3
wait_for 10 "the right-click did not reach the icon's owner" logged "event 0x0205"
xdotool click --repeat 2 --delay 80 1
wait_for 10 "the double-click did not restore" logged "restore 1"
grep -B1 -x "restore 1" "$log" | head -1 | grep -qx "event 0x0203" ||
    fail "restored on something other than the double-click"

# The driver drops the icon from the shell; a restarted shell's broadcast brings it back.
wait_for 10 "the icon was not dropped" logged "dropped"
wait_for 30 "the dropped icon stayed in the tray" undocked
wine "$driver" --taskbar-created || fail "broadcasting TaskbarCreated"
wait_for 10 "TaskbarCreated did not reach the icon's owner" logged "taskbar-created"
wait_for 30 "the icon did not come back after TaskbarCreated" docked

# A double-click on the icon as it stands now ends the driver, which takes the icon away.
read -r x y < <(icon_centre)
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
wait_for 10 "the second double-click did not restore" logged "restore 2"
wait "$driver_pid"
status=$?
[ "$status" -eq 0 ] || fail "the driver ended with $status"
wait_for 30 "the icon stayed after the program ended" undocked
[ "$(grep -c '^restore' "$log")" -eq 2 ] || fail "restored more often than double-clicked"
echo "the notification-area icon docks, restores on a double-click and comes back on TaskbarCreated"
