#!/bin/bash
# pelmora.exe end to end under Wine, on the virtual display of
# scripts/with-test-display (compositor and tray included), in the prefix of
# WINEPREFIX: the two windows appear at 587 x 352 with the desktop showing
# through the cut-out parts and the body translucent; a second start exits 0
# and leaves one widget; a drag of the frame moves both windows alike; the
# menu on the body closes the program with exit code 0 and its placement
# written. With the notification area: the icon docks, minimising hides both
# windows into it and a double-click or a second start brings them back; "Settings" opens the
# dialog, whose Cancel writes nothing and whose Apply writes the seven values
# to the prefix's registry. Waits for conditions, never for a fixed time.
#
#   test_widget.sh PATH/TO/pelmora.exe
exe=$1
. "$(dirname "$0")/../e2e/lib.sh"
. "$(dirname "$0")/tray/icon.sh"
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$E2E_HOME

# Wine names every window of the program after its executable; the widget's
# two windows are the mapped ones of the widget's size (menus are smaller).
widget_windows() {
    local id
    for id in $(xdotool search --onlyvisible --class '^pelmora\.exe$' 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Width: 587' && echo "$id"
    done
}
two_windows() { [ "$(widget_windows | wc -l)" -eq 2 ]; }
positions() {
    local id
    for id in $(widget_windows); do window_position "$id"; done | sort -u
}
# The screen's colour at a point of the widget.
pixel() {
    local origin
    read -r -a origin <<<"$(positions | head -n 1)"
    import -window root -crop "1x1+$(( origin[0] + $1 ))+$(( origin[1] + $2 ))" -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-F]\{6\}' | head -n 1
}
popup_open() {
    local id
    for id in $(xdotool search --onlyvisible --class '^pelmora\.exe$' 2>/dev/null); do
        xwininfo -id "$id" | grep -q 'Width: 587' || { echo "$id"; return 0; }
    done
    return 1
}
no_windows() { [ -z "$(widget_windows)" ]; }
key='HKCU\Software\Talvessa'
reg_value() {
    wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name { print $3 }'
}
dialog_shown() { xdotool search --onlyvisible --name '^Configure Settings$' >/dev/null 2>&1; }
dialog_gone() { ! dialog_shown; }
# click_widget X Y: a left click at a point of the widget.
click_widget() {
    local origin
    read -r -a origin <<<"$(positions | head -n 1)"
    xdotool mousemove $(( origin[0] + $1 )) $(( origin[1] + $2 )) click 1
}
# settings_and BUTTON_X BUTTON_Y: opens the dialog from "Settings" and
# closes it with the button at that point of the dialog.
settings_and() {
    click_widget 488 44
    wait_for 30 "the settings dialog" dialog_shown
    local dialog
    dialog=$(xdotool search --onlyvisible --name '^Configure Settings$' | head -n 1)
    xdotool mousemove --window "$dialog" "$1" "$2" click 1
    wait_for 30 "the settings dialog to close" dialog_gone
}

wine "$exe" >"$work/widget.log" 2>&1 &
widget_pid=$!
E2E_PIDS+=("$widget_pid")
wait_for 30 "the widget and its background window" two_windows

# --- Both windows: 587 x 352, at one place ---
for id in $(widget_windows); do
    xwininfo -id "$id" | grep -q 'Height: 352' || fail "window $id is not 352 pixels high"
done
[ "$(positions | wc -l)" -eq 1 ] || fail "the windows stand apart: $(positions | tr '\n' ' ')"
pass "both windows are 587 x 352 and stand at one place"

# --- Pixels: the desktop through the cut-out parts, the body translucent ---
desktop='#4A6F8A'  # scripts/with-test-display's desktop colour
corner_is_desktop() { [ "$(pixel 1 1)" = "$desktop" ]; }
wait_for 10 "the desktop outside the rounded outline" corner_is_desktop
no_key_left() {
    local origin
    read -r -a origin <<<"$(positions | head -n 1)"
    import -window root -crop "587x352+${origin[0]}+${origin[1]}" -depth 8 txt:- 2>/dev/null >"$work/pixels" &&
        ! grep -q '#0080FF' "$work/pixels"
}
wait_for 10 "no pixel of the colour key on the screen" no_key_left
# Left of the body picture the widget is keyed away: the backdrop shows.
left_edge=$(pixel 10 200)
[ "$left_edge" != "$desktop" ] || fail "the backdrop does not show beside the body"
# The body, drawn at 217 of 255 over the backdrop: near its own colour, not it.
body=$(convert "$source_dir/resources/images/body.jpg" -crop 1x1+4+87 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1)
python3 - "$(pixel 22 150)" "$body" <<'PY' || fail "the body is not translucent: $(pixel 22 150) against $body"
import sys
shown, own = (bytes.fromhex(c[1:]) for c in sys.argv[1:])
difference = max(abs(a - b) for a, b in zip(shown, own))
assert 0 < difference < 60, difference
PY
pass "the desktop shows through the cut-out parts and the body is translucent"

# --- A second start brings the first forward and ends ---
timeout 60 wine "$exe" >/dev/null 2>&1
status=$?
[ "$status" -eq 0 ] || fail "a second start exited with $status"
two_windows || fail "after a second start: $(widget_windows | wc -l) windows"
pass "a second start exits 0 and leaves one widget"

# --- The notification-area icon: it docks, and takes the widget in and out ---
wait_for 30 "the icon to dock in the tray" icon_centre
read -r -a place <<<"$(positions)"
click_widget 533 42  # the minimise button
wait_for 10 "both windows hidden in the notification area" no_windows
read -r x y < <(icon_centre)
xdotool mousemove --sync "$x" "$y" click --repeat 2 --delay 80 1
wait_for 10 "both windows back after a double-click on the icon" two_windows
[ "$(positions)" = "${place[*]}" ] || fail "back at $(positions), not ${place[*]}"
pass "the icon docks; minimised into it, a double-click brings both windows back in place"
click_widget 533 42
wait_for 10 "both windows hidden again" no_windows
timeout 60 wine "$exe" >/dev/null 2>&1 || fail "a second start beside the hidden widget failed"
wait_for 10 "both windows back after a second start" two_windows
pass "a second start brings the widget back from the notification area"

# --- "Settings": Cancel writes nothing, Apply writes the seven values ---
wine reg delete "$key" /f >/dev/null 2>&1
settings_and 380 360  # Cancel
for name in Drive1 Drive2 NrDrives Network1 Network2 NrNetwork RefreshSpeed; do
    [ -z "$(reg_value "$name")" ] || fail "Cancel wrote $name"
done
settings_and 276 360  # Apply
for name in Drive1 Drive2 NrDrives Network1 Network2 NrNetwork RefreshSpeed; do
    [ -n "$(reg_value "$name")" ] || fail "Apply did not write $name"
done
[ "$(reg_value Drive1)" = C ] || fail "Drive1 '$(reg_value Drive1)', expected C"
wine reg delete "$key" /f >/dev/null 2>&1
pass "Settings opens the dialog; Cancel writes nothing, Apply writes the seven values"

# --- A drag of the frame (the title strip) moves both windows alike ---
read -r -a before <<<"$(positions)"
xdotool mousemove $(( before[0] + 300 )) $(( before[1] + 12 ))
xdotool mousedown 1
for _ in 1 2 3 4 5; do xdotool mousemove_relative -- 20 -10; done
xdotool mouseup 1
moved() { [ "$(positions)" = "$(( before[0] + 100 )) $(( before[1] - 50 ))" ]; }
wait_for 10 "both windows moved by (100, -50)" moved
pass "a drag of the frame moved both windows by (100, -50)"
read -r -a dropped <<<"$(positions)"

# --- The menu on the body: "Close" ends the program with its place saved ---
xdotool mousemove $(( dropped[0] + 22 )) $(( dropped[1] + 150 ))
xdotool click 3
wait_for 10 "the popup menu" popup_open
menu=$(popup_open)
eval "$(xdotool getwindowgeometry --shell "$menu" | sed 's/^/menu_/')"
xdotool mousemove $(( menu_X + menu_WIDTH / 2 )) $(( menu_Y + menu_HEIGHT - 8 ))
xdotool mousemove_relative 0 1 click 1
wait_for 15 "the widget to end" process_exited "$widget_pid"
wait "$widget_pid"
status=$?
[ "$status" -eq 0 ] || fail "the widget exited with $status"
pass "Close from the menu on the body ended the widget with exit code 0"

ini=$(find "$WINEPREFIX/drive_c/users" -ipath '*/Talvessa/pelmora.INI' | head -n 1)
[ -n "$ini" ] || fail "no placement file under the prefix's application data"
tr -d '\r' <"$ini" >"$work/ini"
for section in TVantelMainForm TBackForm; do
    grep -q "^\[$section\]" "$work/ini" || fail "no [$section] in the placement file"
done
grep -q "^NormPos=${dropped[0]},${dropped[1]}," "$work/ini" || fail "the saved place is not where the widget ended: $(grep NormPos "$work/ini")"
pass "both windows' placements are written where the widget ended"
