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

wait_for_widget() {
    wait_for 15 "the widget window" mapped_window_of_class TVantelMainForm
    wait_for 15 "the background window" mapped_window_of_class TBackForm
    WIDGET_WINDOW=$(mapped_window_of_class TVantelMainForm)
    BACK_WINDOW=$(mapped_window_of_class TBackForm)
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

# Position of a window in the stacking list (0 = bottom); -1 when absent.
stacking_index() {
    local target=$(( $1 )) i=0 id
    for id in $(stacking_order); do
        [ "$id" -eq "$target" ] && { echo "$i"; return; }
        i=$((i + 1))
    done
    echo -1
}

process_exited() {
    ! kill -0 "$1" 2>/dev/null
}
