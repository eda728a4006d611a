#!/bin/bash
# The widget in a Wayland session: in mutter (GNOME's compositor) running
# headless, which runs X clients through XWayland, it runs on the X server
# (its windows are X windows with their class, shape, stacking and single
# instance), not on Qt's Wayland plugin; with no X display at all it says so
# and exits 1.
set -u
. "$(dirname "$0")/lib.sh"

runtime=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-wayland.XXXXXX")
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=wayland-pelmora-$$
# mutter needs a session bus; dbus-run-session ends the bus when mutter ends.
dbus-run-session -- bash -c 'echo $$ >"$0/mutter.pid"; exec mutter --headless --wayland \
    --wayland-display="$1" --virtual-monitor 1920x1080' "$runtime" "$socket" >"$runtime/mutter.log" 2>&1 &
E2E_PIDS+=($!)
trap 'e2e_cleanup; rm -rf "$runtime"' EXIT
mutter_started() { [ -s "$runtime/mutter.pid" ]; }
wait_for 10 "mutter to start" mutter_started
E2E_PIDS=("$(cat "$runtime/mutter.pid")" "${E2E_PIDS[@]}")

x_display_announced() { grep -aq 'Using public X11 display' "$runtime/mutter.log"; }
wait_for 30 "mutter's X display" x_display_announced
export WAYLAND_DISPLAY=$socket
DISPLAY=$(grep -ao 'Using public X11 display :[0-9]*' "$runtime/mutter.log" | grep -o ':[0-9]*$')
XAUTHORITY=$(ls "$runtime"/.mutter-Xwaylandauth.* | head -n 1)
export DISPLAY XAUTHORITY
unset QT_QPA_PLATFORM
wait_for 30 "mutter managing X windows" bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
pass "mutter runs headless with XWayland on $DISPLAY"

# Without any X display: a clear message and status 1, nothing started.
DISPLAY= timeout 10 "$PELMORA" >"$E2E_HOME/no-x.out" 2>"$E2E_HOME/no-x.err"
status=$?
[ "$status" -eq 1 ] || fail "without an X display the widget exited with $status"
grep -q 'Wayland session offers no X display' "$E2E_HOME/no-x.err" || fail "said: $(cat "$E2E_HOME/no-x.err")"
pass "without an X display it says so and exits 1"

start_widget
wait_for_widget
kill -0 "$WIDGET_PID" || fail "the widget ended: $(cat "$E2E_HOME/widget.log")"
pass "the widget runs on XWayland with both its X windows"

extents=$(xwininfo -shape -id "$WIDGET_WINDOW" | awk '/Window shape extents:/ {print $4}')
[ -n "$extents" ] && [ "$extents" != "587x352+0+0" ] || fail "the widget window is not shaped ($extents)"
pass "the widget keeps its shape"

wait_for 5 "the pair on top" has_state "$WIDGET_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "the background on top" has_state "$BACK_WINDOW" _NET_WM_STATE_ABOVE
wait_for 5 "the widget directly above its background" widget_directly_above_background
pass "both stay on top, the widget directly above its background"

timeout 5 "$PELMORA" >/dev/null 2>&1
status=$?
[ "$status" -eq 0 ] || fail "a second start exited with $status"
[ "$(xdotool search --class '^TVantelMainForm$' | wc -l)" -eq 1 ] || fail "a second widget runs"
pass "a second start ends and leaves one widget"
