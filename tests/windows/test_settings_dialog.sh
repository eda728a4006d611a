#!/bin/bash
# The settings dialog end to end under Wine on the virtual display, in the
# prefix of WINEPREFIX, opened over no owner by pelmora_dialog_driver.exe as
# the widget opens it from its menu: it appears at its designed size, Cancel
# writes nothing, its title bar drags it, F1 asks for the help file, the drive tree's check boxes
# answer clicks and the space bar, Apply writes the seven values to the
# prefix's registry (an out-of-range speed written back in range), and a
# refused choice shows its message while the dialog stays open and nothing
# is written. Every step waits for a window or a process, never for a time.
#
#   test_settings_dialog.sh PATH/TO/pelmora_dialog_driver.exe
# With PELMORA_SCREENSHOTS set to a folder, the dialog's picture lands there.
set -u
exe=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-dialog-test.XXXXXX")
driver=
cleanup() {
    [ -n "$driver" ] && kill "$driver" 2>/dev/null
    wine reg delete "$key" /f >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
key='HKCU\Software\Talvessa'
caption='^Configure Settings$'

# Client points of the dialog's controls (the dialog has no frame of Wine's).
apply_at=(276 360)
cancel_at=(380 360)
# The check boxes of the first two drive nodes, as Wine's tree view places them.
first_drive_box=(105 211)
second_drive_box=(105 245)

reg_value() {
    wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name { print $3 }'
}
reg_set() { wine reg add "$key" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 || fail "reg add $1"; }

# until SECONDS DESCRIPTION COMMAND...: polls a condition.
until_true() {
    local seconds=$1 what=$2; shift 2
    local deadline=$(( $(date +%s) + seconds ))
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "timed out waiting for $what"
        sleep 0.1
    done
}
running() { kill -0 "$driver" 2>/dev/null; }
stopped() { ! running; }
mapped() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
gone() { ! mapped "$1"; }

open_dialog() {
    wine "$exe" "$@" >"$work/out" 2>"$work/err" &
    driver=$!
    until_true 60 "the dialog" mapped "$caption"
    dialog=$(xdotool search --onlyvisible --name "$caption" | head -1)
}

# close_with X Y EXPECTED_WORD EXPECTED_STATUS: clicks a client point and
# waits for the driver to end.
close_with() {
    xdotool mousemove --window "$dialog" "$1" "$2" click 1
    until_true 30 "the dialog to close" stopped
    wait "$driver"
    local status=$?
    driver=
    tr -d '\r' <"$work/out" >"$work/said"
    [ "$status" -eq "$4" ] || fail "driver exit $status, expected $4: $(cat "$work/said" "$work/err")"
    grep -qx "$3" "$work/said" || fail "driver said: $(cat "$work/said")"
}

wine reg delete "$key" /f >/dev/null 2>&1

# --- Opening on an empty key, help, Cancel ---
open_dialog --interface "Wired" 10.0.0.5 --interface "Loopback" 127.0.0.1
eval "$(xdotool getwindowgeometry --shell "$dialog")"
[ "$WIDTH" = 656 ] && [ "$HEIGHT" = 379 ] || fail "dialog is ${WIDTH}x${HEIGHT}, expected 656x379"
if [ -n "${PELMORA_SCREENSHOTS:-}" ]; then
    mkdir -p "$PELMORA_SCREENSHOTS"
    import -window root -crop "656x379+$X+$Y" +repage "$PELMORA_SCREENSHOTS/settings-dialog-wine.png"
fi
# The title bar drags the dialog: it follows the pointer step for step. A
# step the pointer takes before the drag has begun (the press still on its
# way through Wine) is not the dialog's to follow, so one step or both count.
start_x=$X start_y=$Y
moved() {
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    local dx=$(( X - start_x )) dy=$(( Y - start_y ))
    { [ "$dx" -eq 60 ] && [ "$dy" -eq 40 ]; } || { [ "$dx" -eq 30 ] && [ "$dy" -eq 20 ]; }
}
xdotool mousemove --window "$dialog" 300 18 mousedown 1
xdotool mousemove_relative --sync 30 20 mousemove_relative --sync 30 20 mouseup 1
until_true 30 "the dialog to follow its title bar" moved
xdotool windowactivate --sync "$dialog" key F1
until_true 30 "the help file to be opened" grep -q 'Corvane\.chm' "$work/out"
tr -d '\r' <"$work/out" | grep -qE '^open .*\\Corvane\.chm$' || fail "help: $(cat "$work/out")"
close_with "${cancel_at[@]}" cancelled 1
[ -z "$(reg_value Drive1)" ] && [ -z "$(reg_value RefreshSpeed)" ] || fail "Cancel wrote settings"

# --- Apply writes the seven values; a stored speed beyond the range comes back in it ---
# Both fixed drives open checked; a click on the second one's box unchecks
# it, the space bar checks it again, a click on the first one's unchecks that.
reg_set RefreshSpeed 90
reg_set NrNetwork 1
reg_set Network1 1
open_dialog --interface "Wired" 10.0.0.5 --interface "Loopback" 127.0.0.1
xdotool mousemove --window "$dialog" "${second_drive_box[@]}" click 1
xdotool key space
xdotool mousemove --window "$dialog" "${first_drive_box[@]}" click 1
close_with "${apply_at[@]}" applied 0
[[ "$(reg_value Drive1)" =~ ^[D-Z]$ ]] || fail "Drive1 '$(reg_value Drive1)', expected the second fixed drive"
[ "$(reg_value NrDrives)" = 1 ] || fail "NrDrives '$(reg_value NrDrives)', expected 1"
[[ "$(reg_value Drive2)" =~ ^[A-Z]$ ]] || fail "Drive2 '$(reg_value Drive2)', expected the letter it had"
[ "$(reg_value NrNetwork)" = 1 ] || fail "NrNetwork '$(reg_value NrNetwork)'"
[ "$(reg_value Network1)" = 1 ] || fail "Network1 '$(reg_value Network1)'"
[ "$(reg_value Network2)" = -1 ] || fail "Network2 '$(reg_value Network2)'"
[ "$(reg_value RefreshSpeed)" = 60 ] || fail "RefreshSpeed '$(reg_value RefreshSpeed)', expected 60"

# --- A refused choice: the stored drive is gone, so none is checked ---
reg_set Drive1 Q
reg_set NrDrives 1
open_dialog
xdotool mousemove --window "$dialog" "${apply_at[@]}" click 1
until_true 30 "the refusal message" mapped '^Nothing Selected$'
message=$(xdotool search --onlyvisible --name '^Nothing Selected$' | head -1)
if [ -n "${PELMORA_SCREENSHOTS:-}" ]; then
    import -window root "$PELMORA_SCREENSHOTS/task-message-wine.png"
fi
xdotool windowactivate --sync "$message" key Return
until_true 30 "the message to close" gone '^Nothing Selected$'
running || fail "the dialog closed after a refused choice"
mapped "$caption" || fail "the dialog is no longer shown after a refused choice"
close_with "${cancel_at[@]}" cancelled 1
[ "$(reg_value Drive1)" = Q ] && [ "$(reg_value NrDrives)" = 1 ] || fail "the refused choice wrote settings"

echo "the settings dialog opens, cancels, applies and refuses under Wine"
