#!/bin/bash
# A monitored drive whose file system stops answering (a share whose server
# went away): the widget goes on repainting and dragging, the row says the
# drive is not responding, and pelmora-readings ends within a few seconds with
# exit code 3. Skipped (77) without root, /dev/fuse or python3-fusepy.
. "$(dirname "$0")/lib.sh"

[ "$(id -u)" -eq 0 ] && [ -c /dev/fuse ] && /usr/bin/python3 -c 'import fusepy' 2>/dev/null || {
    echo "SKIP: needs root, /dev/fuse and python3-fusepy to mount a test file system"
    exit 77
}

SHARE=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-share.XXXXXX")
HANG_FILE="$E2E_HOME/hang"
share_cleanup() {
    # Killing the server aborts every hung request; then nothing can hang on the mount.
    [ -n "${SHARE_PID:-}" ] && kill -9 "$SHARE_PID" 2>/dev/null && wait "$SHARE_PID" 2>/dev/null
    umount -l "$SHARE" 2>/dev/null
    rmdir "$SHARE" 2>/dev/null
    e2e_cleanup
}
trap share_cleanup EXIT

/usr/bin/python3 "$PELMORA_SOURCE/tests/e2e/hung_fs.py" "$SHARE" "$HANG_FILE" >"$E2E_HOME/share.log" 2>&1 &
SHARE_PID=$!
share_mounted() { awk -v mp="$SHARE" '$5 == mp {found = 1} END {exit !found}' /proc/self/mountinfo; }
for _ in $(seq 200); do share_mounted && break; kill -0 "$SHARE_PID" 2>/dev/null || break; sleep 0.05; done
share_mounted || { echo "SKIP: the test file system cannot be mounted here"; cat "$E2E_HOME/share.log"; exit 77; }

write_drives() {
    mkdir -p "$XDG_CONFIG_HOME/Talvessa"
    printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Talvessa]\n"Drive1"="%s"\n"Drive2"="%s"\n"NrDrives"="2"\n' \
        "$1" "$2" >"$XDG_CONFIG_HOME/Talvessa/Talvessa.reg"
}
# The share's letter, two letters a run while it still answers: the row showing its 777 GB.
SHARE_LETTER=
for pair in DE FG HI JK LM NO PQ RS TU VW XY; do
    write_drives "${pair:0:1}" "${pair:1:1}"
    readings=$("$PELMORA_READINGS" 2>/dev/null)
    row=$(grep -E '^lblDrive[12]	Drive .: +\[777\.00 GB\]' <<<"$readings" | head -n 1)
    [ -n "$row" ] && { SHARE_LETTER=$(sed -E 's/^lblDrive.\tDrive (.):.*/\1/' <<<"$row"); break; }
done
[ -n "$SHARE_LETTER" ] || fail "the test share got no drive letter"
write_drives C "$SHARE_LETTER"
pass "the share is drive $SHARE_LETTER:"

touch "$HANG_FILE"
started=$(date +%s%N)
timeout -k 1 20 "$PELMORA_READINGS" >"$E2E_HOME/readings.out" 2>"$E2E_HOME/readings.err"
status=$?
elapsed_ms=$(( ($(date +%s%N) - started) / 1000000 ))
[ "$status" -eq 3 ] || fail "pelmora-readings exited with $status (stderr: $(cat "$E2E_HOME/readings.err"))"
[ "$elapsed_ms" -lt 5000 ] || fail "pelmora-readings took $elapsed_ms ms"
grep -q "drive not responding: $SHARE_LETTER:" "$E2E_HOME/readings.err" ||
    fail "no failure on stderr: $(cat "$E2E_HOME/readings.err")"
grep -q "^lblDrive2	Drive $SHARE_LETTER:  \[not responding\]$" "$E2E_HOME/readings.out" ||
    fail "the row reads: $(grep '^lblDrive2	' "$E2E_HOME/readings.out")"
grep -q "^lblDrive1	Drive C:.*GB\]$" "$E2E_HOME/readings.out" || fail "the first row did not go on"
pass "pelmora-readings ends in $elapsed_ms ms with exit code 3 and the hung drive on stderr"

start_widget
wait_for_widget
shown=$(uptime_pixels)
wait_for 5 "the uptime to refresh" uptime_changed_from "$shown"
drag_by 100 -50
shown=$(uptime_pixels)
wait_for 5 "the uptime to refresh after the drag" uptime_changed_from "$shown"
pointer_to 22 150
xdotool click 3
wait_for 5 "the popup menu" popup_open
xdotool key Escape
wait_for 5 "the popup menu to close" no_popup_open
pass "the widget keeps refreshing, dragging and answering its menu while the drive hangs"
