#!/bin/bash
# A second start brings the running widget forward and ends at once.
. "$(dirname "$0")/lib.sh"

start_widget
wait_for_widget
pass "the widget is mapped with its background"

start=$(date +%s%N)
timeout 2 "$PELMORA" >/dev/null 2>&1
status=$?
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$status" -eq 0 ] || fail "the second start exited with $status (124 = still running after 2 s)"
pass "the second start exited 0 after ${elapsed_ms} ms"

count=$(xdotool search --class '^TVantelMainForm$' | wc -l)
[ "$count" -eq 1 ] || fail "$count windows of class TVantelMainForm"
kill -0 "$WIDGET_PID" || fail "the first widget is gone"
pass "still exactly one widget window"
