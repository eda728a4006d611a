# Shared helpers of the end-to-end tests. Each test runs on its own virtual
# display (scripts/with-test-display) with the programs' paths in $PELMORA and
# $PELMORA_READINGS, and gets a fresh configuration folder.
set -u

E2E_HOME=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-e2e.XXXXXX")
export XDG_CONFIG_HOME="$E2E_HOME/config"
mkdir -p "$XDG_CONFIG_HOME"
E2E_PIDS=()

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${E2E_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$E2E_HOME"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${WIDGET_WINDOW:-}" ]; then
        echo "  widget state: $(wm_state "$WIDGET_WINDOW")" >&2
        echo "  background state: $(wm_state "$BACK_WINDOW")" >&2
        echo "  positions: widget $(window_position "$WIDGET_WINDOW"), background $(window_position "$BACK_WINDOW")" >&2
        echo "  stacking: $(stacking_order | tr '\n' ' ')" >&2
        echo "  frames: widget $(frame_of "$WIDGET_WINDOW"), background $(frame_of "$BACK_WINDOW"); real stacking: $(viewable_root_children | tr '\n' ' ')" >&2
        local id
        for id in $(popup_windows); do
            echo "  popup $id: $(xdotool getwindowgeometry "$id" | tr '\n' ' ') $(xprop -id "$id" WM_NAME _NET_WM_WINDOW_TYPE | tr '\n' ' ')" >&2
        done
    fi
    exit 1
}

pass() {
    echo "ok: $*"
}

# wait_for SECONDS DESCRIPTION COMMAND...: polls until COMMAND succeeds.
wait_for() {
    local seconds=$1 what=$2; shift 2
    local deadline=$(( $(date +%s%N) + seconds * 1000000000 ))
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s%N)" -lt "$deadline" ] || fail "timed out after ${seconds}s waiting for $what"
        sleep 0.05
    done
}

# Starts the widget in the background; its PID lands in WIDGET_PID.
start_widget() {
    "$PELMORA" >"$E2E_HOME/widget.log" 2>&1 &
    WIDGET_PID=$!
    E2E_PIDS+=("$WIDGET_PID")
}

# The X id of the (first) window of a WM_CLASS class, mapped or not.
window_of_class() {
    xdotool search --class "^$1\$" 2>/dev/null | head -n 1
}

mapped_window_of_class() {
    xdotool search --onlyvisible --class "^$1\$" 2>/dev/null | head -n 1
}

both_windows_mapped() {
    WIDGET_WINDOW=$(mapped_window_of_class TVantelMainForm)
    BACK_WINDOW=$(mapped_window_of_class TBackForm)
    [ -n "$WIDGET_WINDOW" ] && [ -n "$BACK_WINDOW" ]
}

wait_for_widget() {
    wait_for 15 "the widget and its background window" both_windows_mapped
}

# "X Y" of a window's top-left corner on the screen.
window_position() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} END {print x, y}'
}

wm_state() {
    xprop -id "$1" _NET_WM_STATE 2>/dev/null
}

# The window manager's stacking list, bottom to top, as decimal ids.
stacking_order() {
    xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g' |
        xargs -n1 printf '%d\n' 2>/dev/null
}

# The managed (top-level) window of a WM_CLASS class, from the window
# manager's client list.
client_of_class() {
    local id
    for id in $(stacking_order); do
        xprop -id "$id" WM_CLASS 2>/dev/null | grep -q "\"$1\"\$" && { echo "$id"; return 0; }
    done
    return 1
}

# Position of a window's frame in the X server's real stacking of the mapped
# top-level windows (0 = bottom); -1 when absent. Real stacking, because some
# window managers (fluxbox) do not keep _NET_CLIENT_LIST_STACKING in order.
stacking_index() {
    local frame i=0 id
    frame=$(frame_of "$1")
    for id in $(viewable_root_children); do
        [ "$id" -eq "$frame" ] && { echo "$i"; return; }
        i=$((i + 1))
    done
    echo -1
}

process_exited() {
    ! kill -0 "$1" 2>/dev/null
}

# The widget window's top-left corner, as "X Y".
widget_origin() {
    window_position "$WIDGET_WINDOW"
}

# The uptime reading, as a digest of its pixels on the screen.
uptime_pixels() {
    local origin
    read -r -a origin <<<"$(widget_origin)"
    import -window root -crop "124x14+$(( origin[0] + 437 ))+$(( origin[1] + 280 ))" png:- 2>/dev/null | md5sum
}

uptime_changed_from() {
    [ "$(uptime_pixels)" != "$1" ]
}

# Drags the widget by its title strip by DX DY and waits until both windows
# stand there.
drag_by() {
    local dx=$1 dy=$2 before
    read -r -a before <<<"$(widget_origin)"
    pointer_to 300 12
    xdotool mousedown 1
    for _ in 1 2 3 4 5; do xdotool mousemove_relative -- $(( dx / 5 )) $(( dy / 5 )); done
    xdotool mouseup 1
    wait_for 5 "both windows moved by ($dx, $dy)" both_at "$(( before[0] + dx )) $(( before[1] + dy ))"
}

both_at() {
    [ "$(window_position "$BACK_WINDOW")" = "$1" ] && [ "$(widget_origin)" = "$1" ]
}

# Moves the pointer to a point given in the widget's client coordinates.
pointer_to() {
    local origin
    read -r -a origin <<<"$(widget_origin)"
    xdotool mousemove "$(( origin[0] + $1 ))" "$(( origin[1] + $2 ))"
}

# Visible popup menus of the widget: override-redirect windows of its class
# standing on the root window.
popup_windows() {
    local id
    for id in $(xdotool search --onlyvisible --class '^Pelmora$' 2>/dev/null); do
        # The tray icon is override-redirect too, but lives inside the tray.
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' &&
            xwininfo -tree -id "$id" 2>/dev/null | grep -q 'Parent window id: .*(the root window)' &&
            echo "$id"
    done
}

popup_open() {
    [ -n "$(popup_windows)" ]
}

no_popup_open() {
    [ -z "$(popup_windows)" ]
}

# The tray icon: the process's own window docked into the tray host.
find_tray_icon() {
    local id
    for id in $(xdotool search --onlyvisible --class '^Pelmora$' 2>/dev/null); do
        xwininfo -id "$id" | grep -q 'Width: 2[0-9]$' && { echo "$id"; return 0; }
    done
    return 1
}

has_state() {
    wm_state "$1" | grep -q "$2"
}

lacks_state() {
    ! wm_state "$1" | grep -q "$2"
}

# The child of the root that holds a window: its frame under a reparenting
# window manager, the window itself otherwise.
frame_of() {
    local id=$(( $1 )) parent
    while parent=$(xwininfo -tree -id "$id" 2>/dev/null | awk '/Parent window id:/ {print $4}'); do
        xwininfo -tree -id "$id" | grep -q 'Parent window id: .*(the root window)' && break
        id=$(( parent ))
    done
    echo "$id"
}

# The root's mapped children, bottom to top, as decimal ids.
viewable_root_children() {
    local id
    for id in $(xwininfo -root -children | awk '/^ +0x/ {print $1}' | tac); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && printf '%d\n' "$id"
    done
}

# "LEFT TOP RIGHT BOTTOM" of a window on the screen.
window_box() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, x + w, y + h}'
}

# True when the widget stands directly above its background in the X
# server's real stacking: above it, with no mapped window between them that
# covers any of the widget (a panel elsewhere on the screen may sit there).
widget_directly_above_background() {
    local widget_frame back_frame id between=0 box other
    widget_frame=$(frame_of "$WIDGET_WINDOW")
    back_frame=$(frame_of "$BACK_WINDOW")
    read -r -a box <<<"$(window_box "$widget_frame")"
    for id in $(viewable_root_children); do
        if [ "$id" -eq "$back_frame" ]; then
            between=1
        elif [ "$id" -eq "$widget_frame" ]; then
            [ "$between" -eq 1 ]
            return
        elif [ "$between" -eq 1 ]; then
            read -r -a other <<<"$(window_box "$id")"
            [ "${other[0]}" -ge "${box[2]}" ] || [ "${other[2]}" -le "${box[0]}" ] ||
                [ "${other[1]}" -ge "${box[3]}" ] || [ "${other[3]}" -le "${box[1]}" ] || return 1
        fi
    done
    return 1
}

# Opens the popup menu with a right-click on the body picture and clicks its
# first or its last item.
menu_pick() {
    local menu x y width height
    pointer_to 22 150
    xdotool click 3
    wait_for 5 "the popup menu" popup_open
    menu=$(popup_windows | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$menu" | sed 's/^/local /')"
    x=$(( X + WIDTH / 2 ))
    case "$1" in
        first) y=$(( Y + 12 )) ;;
        last) y=$(( Y + HEIGHT - 12 )) ;;
    esac
    xdotool mousemove "$x" "$y"
    sleep 0.1  # the menu highlights the item under the pointer on the next move
    xdotool mousemove "$x" "$(( y + 1 ))" click 1
    wait_for 5 "the popup menu to close" no_popup_open
}

# Activates the widget's icon the way a notification area of the D-Bus item
# protocol does on a click: its Activate method, found through the watcher.
status_notifier_activate() {
    local item service path
    item=$(dbus-send --session --print-reply=literal --dest=org.kde.StatusNotifierWatcher \
        /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems | grep -o '[^ ]*StatusNotifierItem[^ ]*' | head -n 1)
    [ -n "$item" ] || fail "no item registered with the status-notifier watcher"
    service=${item%%/*}
    path=/${item#*/}
    [ "$path" = "/$item" ] && path=/StatusNotifierItem
    dbus-send --session --type=method_call --dest="$service" "$path" org.kde.StatusNotifierItem.Activate \
        int32:0 int32:0 || fail "Activate on $service $path failed"
}
