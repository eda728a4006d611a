#!/bin/bash
# The widget follows the screen's scale (Xft.dpi) at 1, 1.5 and 2: the whole
# window grows, and its shape follows the drawn pixels exactly, so no pixel
# of the colour key shows and the backdrop shows where the key was drawn.
# Without a compositor the key colour would show as it is: the strictest view.
. "$(dirname "$0")/lib.sh"

kill "$TEST_DISPLAY_COMPOSITOR_PID"
wait_for 5 "the compositor gone" bash -c "! '$PELMORA_SOURCE/scripts/x-selection-owned' _NET_WM_CM_S0"

key_pixels() {  # in the screenshot $1, within the window's box
    local box
    read -r -a box <<<"$(window_box "$WIDGET_WINDOW")"
    convert "$1" -crop "$(( box[2] - box[0] ))x$(( box[3] - box[1] ))+${box[0]}+${box[1]}" +repage \
        -fill black +opaque 'rgb(0,128,255)' -fill white -opaque 'rgb(0,128,255)' -format '%[fx:round(mean*w*h)]' info:
}
widget_size_is() {
    local size
    size=$(xwininfo -id "$WIDGET_WINDOW" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [ "$size" = "$1" ]
}

for case in "96 587x352" "144 881x528" "192 1174x704"; do
    read -r dpi size <<<"$case"
    echo "Xft.dpi: $dpi" | xrdb -merge
    start_widget
    wait_for_widget
    wait_for 5 "the widget at $size" widget_size_is "$size"
    [ "$(window_box "$BACK_WINDOW")" = "$(window_box "$WIDGET_WINDOW")" ] ||
        fail "the backdrop at $(window_box "$BACK_WINDOW"), the widget at $(window_box "$WIDGET_WINDOW")"
    shot="$E2E_HOME/screen-$dpi.png"
    no_key_pixels() { import -window root "$shot" && [ "$(key_pixels "$shot")" -eq 0 ]; }
    wait_for 5 "no pixel of the colour key on screen at $dpi dpi" no_key_pixels
    pass "at $dpi dpi the pair is $size and not one pixel of the colour key shows"
    kill "$WIDGET_PID"
    wait_for 5 "the widget to end" process_exited "$WIDGET_PID"
done
