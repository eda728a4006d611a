#!/bin/bash
# pelmora-readings.exe end to end under Wine, in the prefix of WINEPREFIX:
# what it prints agrees with the Linux machine underneath, the settings come
# from the prefix's registry, and a step the system cannot answer is reported
# without stopping the others. Wine keeps no processor performance object, so
# the processor step always fails here: exit code 3 with the sampler's message
# (on Windows it succeeds; the sampler itself is tested on recorded blocks).
#
#   test_readings.sh PATH/TO/pelmora-readings.exe
set -u
exe=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-readings-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
value() { awk -F'\t' -v key="$1" '$1 == key { print $2 }' "$work/text"; }
memory_load() { free -b | awk '/^Mem:/ { print 100 - int($7 * 100 / $2) }'; }

# --- A first run on an empty registry ---
before=$(memory_load)
# A Windows program ends its lines with CR LF.
wine "$exe" 2>"$work/err" | tr -d '\r' >"$work/text"
status=${PIPESTATUS[0]}
sed -i 's/\r$//' "$work/err"
after=$(memory_load)
[ "$status" -eq 3 ] || fail "exit code $status, expected 3"
grep -q '^pelmora-readings: processor: Unable to locate the "Processor" performance object$' "$work/err" ||
    fail "no processor failure on stderr: $(cat "$work/err")"
failures=$(grep -c '^pelmora-readings:' "$work/err")
[ "$failures" -eq 1 ] || fail "other steps failed too: $(grep '^pelmora-readings:' "$work/err")"

# The computer name is the host's, as Wine forms it.
expected_name=$(hostname | cut -d. -f1 | tr '[:lower:]' '[:upper:]' | cut -c1-15)
[ "$(value lblCompName)" = "$expected_name" ] || fail "computer name '$(value lblCompName)', expected '$expected_name'"

# The memory load is free's within a few points.
load=$(value lblPhys)
load=${load%\%}
low=$(( (before < after ? before : after) - 5 )) high=$(( (before > after ? before : after) + 5 ))
[ "$load" -ge "$low" ] && [ "$load" -le "$high" ] || fail "memory load $load%, free says $before..$after%"

# Drive C is the Linux file system holding the prefix, with its size and used share.
read -r size_bytes avail_bytes < <(df -B1 --output=size,avail "$WINEPREFIX/drive_c" | tail -1)
size_mib=$(( size_bytes / 1048576 ))
expected_gb=$(awk -v mib="$size_mib" 'BEGIN { printf "%.2f", mib / 1024 }')
caption=$(value lblDrive1)
[[ "$caption" =~ ^Drive\ C:\ .*\[([0-9.,]+)\ GB\]$ ]] || fail "first drive caption '$caption'"
[ "${BASH_REMATCH[1]//,/}" = "$expected_gb" ] || fail "drive C size ${BASH_REMATCH[1]} GB, df says $expected_gb"
used=$(value Drive1)
expected_used=$(( 100 - (avail_bytes / 1048576) * 100 / size_mib ))
[ $(( used - expected_used )) -le 1 ] && [ $(( expected_used - used )) -le 1 ] ||
    fail "drive C used $used%, df says $expected_used%"
[ "$(value lblDrive1Free)" = "$used%" ] || fail "used share label '$(value lblDrive1Free)'"

# Steps Wine answers only in part still show their captions.
[ "$(value lblVol)" = "L: 0%, R: 0%" ] || fail "volume '$(value lblVol)'"
[[ "$(value lblRes)" =~ ^[0-9]+x[0-9]+\ [0-9]+bpp,\ [0-9]+Hz$ ]] || fail "screen mode '$(value lblRes)'"

# The settings key is in the prefix's registry once Wine has written it out.
wineserver --wait
grep -qi '^\[Software\\\\Talvessa\]' "$WINEPREFIX/user.reg" || fail "no settings key in the prefix's registry"

# --- Settings from the registry, one of them of the wrong type ---
wine reg add 'HKCU\Software\Talvessa' /v NrDrives /t REG_SZ /d 1 /f >/dev/null 2>&1 || fail "reg add"
wine reg add 'HKCU\Software\Talvessa' /v RefreshSpeed /t REG_DWORD /d 5 /f >/dev/null 2>&1 || fail "reg add"
wine "$exe" --json 2>"$work/err" | tr -d '\r' >"$work/json"
status=${PIPESTATUS[0]}
sed -i 's/\r$//' "$work/err"
[ "$status" -eq 3 ] || fail "exit code $status with the settings, expected 3"
grep -q "Invalid data type for 'RefreshSpeed'" "$work/err" || fail "no type error: $(cat "$work/err")"
python3 - "$work/json" "$expected_name" <<'PY' || fail "JSON output"
import json, sys
readings = json.load(open(sys.argv[1]))
assert readings["lblCompName"]["value"] == sys.argv[2], readings["lblCompName"]
assert readings["lblDrive2"]["visible"] is False, readings["lblDrive2"]
PY
echo "pelmora-readings.exe agrees with the machine under Wine"
