#!/bin/bash
# The widget in a Wayland session: in a headless weston that runs X clients
# through XWayland, it runs on the X server (its windows are X windows with
# their class, shape and single instance), not on Qt's Wayland plugin; with
# no X display at all it says so and exits 1.
set -u
. "$(dirname "$0")/lib.sh"

runtime=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-wayland.XXXXXX")
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=wayland-pelmora-$$
weston --backend=headless-backend.so --xwayland --socket="$socket" --width=1920 --height=1080 \
    --idle-time=0 --log="$runtime/weston.log" >/dev/null 2>&1 &
WESTON_PID=$!
E2E_PIDS+=("$WESTON_PID")
trap 'e2e_cleanup; rm -rf "$runtime"' EXIT

x_display_announced() { grep -q 'xserver listening on display' "$runtime/weston.log"; }
wait_for 20 "weston's X display" x_display_announced
export WAYLAND_DISPLAY=$socket
DISPLAY=$(grep -o 'xserver listening on display :[0-9]*' "$runtime/weston.log" | grep -o ':[0-9]*$')
export DISPLAY
unset QT_QPA_PLATFORM
pass "weston runs headless with XWayland on $DISPLAY"

# Without any X display: a clear message and status 1, nothing started.
DISPLAY= timeout 10 "$PELMORA" >"$E2E_HOME/no-x.out" 2>"$E2E_HOME/no-x.err"
status=$?
[ "$status" -eq 1 ] || fail "without an X display the widget exited with $status"
grep -q 'Wayland session offers no X display' "$E2E_HOME/no-x.err" || fail "said: $(cat "$E2E_HOME/no-x.err")"
pass "without an X display it says so and exits 1"

# The first X client starts Xwayland itself, which takes a moment.
start_widget
window_exists() { [ -n "$(window_of_class "$1")" ]; }
wait_for 30 "the widget's X window" window_exists TVantelMainForm
wait_for 10 "the background's X window" window_exists TBackForm
WIDGET_WINDOW=$(window_of_class TVantelMainForm)
BACK_WINDOW=$(window_of_class TBackForm)
kill -0 "$WIDGET_PID" || fail "the widget ended: $(cat "$E2E_HOME/widget.log")"
pass "the widget runs on XWayland with both its X windows"

mapped() { xwininfo -id "$1" | grep -q 'Map State: IsViewable'; }
wait_for 10 "the widget mapped" mapped "$WIDGET_WINDOW"
# Its colour-keyed surface is cut away by a shape: the bounding region is not
# the whole window.
extents=$(xwininfo -shape -id "$WIDGET_WINDOW" | awk '/Window shape extents:/ {print $4}')
[ -n "$extents" ] && [ "$extents" != "587x352+0+0" ] || fail "the widget window is not shaped ($extents)"
pass "the widget keeps its shape"

timeout 5 "$PELMORA" >/dev/null 2>&1
status=$?
[ "$status" -eq 0 ] || fail "a second start exited with $status"
[ "$(xdotool search --class '^TVantelMainForm$' | wc -l)" -eq 1 ] || fail "a second widget runs"
pass "a second start ends and leaves one widget"
