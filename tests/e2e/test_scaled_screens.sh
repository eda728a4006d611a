#!/bin/bash
# The widget follows the screen's scale (Xft.dpi) at 1, 1.5 and 2: the whole
# window grows, and its shape follows the drawn pixels exactly, so no pixel
# of the colour key shows and the backdrop shows where the key was drawn.
# Without a compositor the key colour would show as it is: the strictest view.
# The popup menu grows alike: it keeps its size beside the widget's.
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

# The menu's height in thousandths of the widget's, opened with a
# right-click on the body at the scale $1 (device pixels per pixel).
menu_share() {
    local menu
    xdotool mousemove "$(awk -v s="$1" -v x="$(widget_origin | cut -d' ' -f1)" 'BEGIN {print int(x + 22 * s)}')" \
        "$(awk -v s="$1" -v y="$(widget_origin | cut -d' ' -f2)" 'BEGIN {print int(y + 150 * s)}')" click 3
    wait_for 5 "the popup menu" popup_open
    menu=$(popup_windows | head -n 1)
    echo $(( $(xwininfo -id "$menu" | awk '/Height:/ {print $2}') * 1000 /
             $(xwininfo -id "$WIDGET_WINDOW" | awk '/Height:/ {print $2}') ))
    xdotool key Escape
    wait_for 5 "the popup menu to close" no_popup_open
}

share_at_96=
for case in "96 587x352 1" "144 881x528 1.5" "192 1174x704 2"; do
    read -r dpi size scale <<<"$case"
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
    share=$(menu_share "$scale")
    share_at_96=${share_at_96:-$share}
    [ $(( share * 100 / share_at_96 )) -ge 95 ] && [ $(( share * 100 / share_at_96 )) -le 105 ] ||
        fail "at $dpi dpi the menu is $share/1000 of the widget's height, at 96 dpi $share_at_96/1000"
    pass "at $dpi dpi the menu is $share/1000 of the widget's height (at 96 dpi $share_at_96/1000)"
    kill "$WIDGET_PID"
    wait_for 5 "the widget to end" process_exited "$WIDGET_PID"
done
