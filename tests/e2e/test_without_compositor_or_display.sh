#!/bin/bash
# Without a compositor the widget still shows, cut to its outline; without any
# display it says so and exits instead of crashing.
. "$(dirname "$0")/lib.sh"

output=$(env -u DISPLAY -u QT_QPA_PLATFORM "$PELMORA" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "without a display the widget exited with $status"
[[ "$output" == *"no X display"* ]] || fail "without a display it said: $output"
pass "without a display: '$output', exit 1"

env -u DISPLAY "$PELMORA_READINGS" >"$E2E_HOME/readings" 2>&1 || fail "pelmora-readings failed without a display"
grep -qx $'lblRes\tUnknown' "$E2E_HOME/readings" || fail "screen mode without a display: $(grep lblRes "$E2E_HOME/readings")"
pass "pelmora-readings without a display reads the screen mode as Unknown"

kill "$TEST_DISPLAY_COMPOSITOR_PID"
wait_for 5 "the compositor gone" bash -c "! '$PELMORA_SOURCE/scripts/x-selection-owned' _NET_WM_CM_S0"

start_widget
wait_for_widget
pixel() {  # the screen's colour at a point of the widget's client area
    local origin
    read -r -a origin <<<"$(widget_origin)"
    import -window root -crop "1x1+$(( origin[0] + $1 ))+$(( origin[1] + $2 ))" -depth 8 txt:- 2>/dev/null |
        grep -o '#[0-9A-F]\{6\}' | head -n 1
}
corner_is_desktop() { [ "$(pixel 1 1)" = "#4A6F8A" ]; }
body_is_drawn() { [ "$(pixel 300 200)" != "#4A6F8A" ] && [ -n "$(pixel 300 200)" ]; }
wait_for 5 "the desktop to show outside the rounded outline" corner_is_desktop
wait_for 5 "the body drawn" body_is_drawn
pass "without a compositor the outline is cut and the body drawn"

# The backdrop is painted once; after another window covered it and went
# away, the exposed pixels come back the same. Compared: its rim left of the
# body, below the gauge, where the readings never draw.
rim() {
    local b
    read -r -a b <<<"$(window_box "$BACK_WINDOW")"
    import -window root -crop "14x230+$(( b[0] + 2 ))+$(( b[1] + 100 ))" +repage -depth 8 "$1" 2>/dev/null
}
rim_drawn() {  # no pixel of the desktop shows through it
    rim "$E2E_HOME/before.png" && ! convert "$E2E_HOME/before.png" txt:- | grep -q '#4A6F8A'
}
wait_for 5 "the backdrop's rim drawn" rim_drawn
read -r -a box <<<"$(window_box "$BACK_WINDOW")"
xmessage -geometry "$(( box[2] - box[0] + 40 ))x$(( box[3] - box[1] + 60 ))+$(( box[0] - 20 ))+$(( box[1] - 40 ))" cover &
cover=$!
E2E_PIDS+=("$cover")
wait_for 10 "a window over the widget" mapped_window_of_class Xmessage
kill "$cover"
wait "$cover" 2>/dev/null
wait_for 10 "the window over the widget gone" bash -c '[ -z "$(xdotool search --onlyvisible --class "^Xmessage\$")" ]'
rim_restored() {
    rim "$E2E_HOME/after.png" && [ "$(compare -metric AE "$E2E_HOME/before.png" "$E2E_HOME/after.png" null: 2>&1)" = 0 ]
}
wait_for 5 "the backdrop repainted after the exposure" rim_restored
pass "the backdrop comes back unchanged after another window covered it"

menu_pick last
wait_for 10 "the widget to end" process_exited "$WIDGET_PID"
wait "$WIDGET_PID" || fail "the widget exited with $?"
pass "and it closes with exit code 0"
