#!/bin/bash
# The widget is never left (nearly) off every monitor: a stored position from
# a wider desktop is pulled wholly onto the screen, and a monitor removed
# while it runs sends it wholly onto the one that remains.
. "$(dirname "$0")/lib.sh"

wholly_within() {  # WINDOW LEFT TOP RIGHT BOTTOM
    local box
    read -r -a box <<<"$(window_box "$1")"
    [ "${box[0]}" -ge "$2" ] && [ "${box[1]}" -ge "$3" ] && [ "${box[2]}" -le "$4" ] && [ "${box[3]}" -le "$5" ]
}
pair_together() { [ "$(window_position "$WIDGET_WINDOW")" = "$(window_position "$BACK_WINDOW")" ]; }

# Saved beside a second monitor that is no longer there: 58 pixels would show.
mkdir -p "$XDG_CONFIG_HOME/Talvessa"
printf '[TBackForm]\nFormVersion=0\nFlags=0\nShowCmd=1\nPixelsPerInch=96\nNormPos(1920x1080)=1862,364,2449,716\nNormPos=1862,364,2449,716\nVisible=1\n' \
    >"$XDG_CONFIG_HOME/Talvessa/pelmora.INI"
start_widget
wait_for_widget
wait_for 5 "the widget wholly on the screen" wholly_within "$WIDGET_WINDOW" 0 0 1920 1080
wait_for 5 "the pair together" pair_together
[ "$(window_position "$WIDGET_WINDOW")" = "1333 364" ] || fail "moved to $(window_position "$WIDGET_WINDOW")"
pass "a stored position off the screen's edge is pulled wholly onto it, no further than needed"

# Two monitors on the one virtual screen, the widget on the right one; then
# the right one goes.
# The left one takes the screen's output, so the whole-screen monitor goes.
xrandr --setmonitor pelmora-left 960/254x1080/286+0+0 screen >/dev/null
xrandr --setmonitor pelmora-right 960/254x1080/286+960+0 none >/dev/null
xdotool windowmove "$BACK_WINDOW" 1200 300
xdotool windowmove "$WIDGET_WINDOW" 1200 300
wait_for 5 "the widget on the right monitor" wholly_within "$WIDGET_WINDOW" 960 0 1920 1080
xrandr --delmonitor pelmora-right >/dev/null
wait_for 5 "the widget wholly on the left monitor" wholly_within "$WIDGET_WINDOW" 0 0 960 1080
wait_for 5 "the pair together" pair_together
pass "a monitor removed while it runs sends the widget wholly onto the remaining one"
