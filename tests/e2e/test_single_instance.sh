#!/bin/bash
# One widget per desktop: of two starts at the same moment one runs the
# widget and the other ends; a later start brings the running widget forward
# and ends at once.
. "$(dirname "$0")/lib.sh"

"$PELMORA" >"$E2E_HOME/first.log" 2>&1 &
first=$!
"$PELMORA" >"$E2E_HOME/second.log" 2>&1 &
second=$!
E2E_PIDS+=("$first" "$second")
wait_for_widget
one_ended() { process_exited "$first" || process_exited "$second"; }
wait_for 10 "one of the two starts to end" one_ended
if process_exited "$first"; then loser=$first WIDGET_PID=$second; else loser=$second WIDGET_PID=$first; fi
wait "$loser"
status=$?
[ "$status" -eq 0 ] || fail "the start that lost exited with $status"
# It has ended, so it can map no window any more: count now.
count=$(xdotool search --class '^TVantelMainForm$' | wc -l)
[ "$count" -eq 1 ] || fail "$count windows of class TVantelMainForm after a double start"
kill -0 "$WIDGET_PID" || fail "no widget left running"
pass "two starts at once leave one widget"

start=$(date +%s%N)
timeout 2 "$PELMORA" >/dev/null 2>&1
status=$?
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$status" -eq 0 ] || fail "the second start exited with $status (124 = still running after 2 s)"
pass "a later start exited 0 after ${elapsed_ms} ms"

count=$(xdotool search --class '^TVantelMainForm$' | wc -l)
[ "$count" -eq 1 ] || fail "$count windows of class TVantelMainForm"
kill -0 "$WIDGET_PID" || fail "the running widget is gone"
pass "still exactly one widget window"
