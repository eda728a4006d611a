#!/bin/bash
# pelmora-readings agrees with the standard tools on this machine, shows the
# load of busy processors, and the network rows the settings ask for.
. "$(dirname "$0")/lib.sh"

readings() {
    "$PELMORA_READINGS" >"$E2E_HOME/readings" 2>"$E2E_HOME/readings.err" ||
        fail "pelmora-readings failed: $(cat "$E2E_HOME/readings.err")"
}
reading() {
    awk -F '\t' -v name="$1" '$1 == name {print $2; exit}' "$E2E_HOME/readings"
}
near() {  # near A B TOLERANCE
    local difference=$(( $1 - $2 ))
    [ "${difference#-}" -le "$3" ]
}

readings

# Drive C is the root file system, measured as the widget does: the share
# not available to the user (df's own Use% leaves reserved blocks out).
read -r size available < <(df -P -k / | awk 'NR == 2 {print $2, $4}')
expected=$(( 100 - (available / 1024) * 100 / (size / 1024) ))
used=$(reading lblDrive1Free); used=${used%\%}
near "$used" "$expected" 1 || fail "drive C reads ${used}% used, df's figures give ${expected}%"
pass "drive C: ${used}% used, as df's size and available space give"

memory=$(free -k | awk '/^Mem:/ {printf "%d", ($2 - $7) * 100 / $2 + 0.5}')
physical=$(reading lblPhys); physical=${physical%\%}
near "$physical" "$memory" 2 || fail "physical memory ${physical}%, free says ${memory}%"
pass "physical memory load ${physical}% (free: ${memory}%)"

[ "$(reading lblCompName)" = "$(hostname -s | cut -c1-15)" ] || fail "computer name $(reading lblCompName)"
[ "$(reading lblLocalUser)" = "$(id -un)" ] || fail "user name $(reading lblLocalUser)"
pass "computer and user names match hostname -s and id -un"

boot_seconds=$(cut -d. -f1 /proc/uptime)
read -r hours minutes seconds < <(reading lblUpTime | sed 's/ h, / /; s/ min / /; s/ sec//')
shown=$(( hours * 3600 + minutes * 60 + seconds ))
near "$shown" "$boot_seconds" 3 || fail "uptime $(reading lblUpTime) against $boot_seconds s"
pass "uptime $(reading lblUpTime) (/proc/uptime: ${boot_seconds} s)"

processors=$(nproc)
bars=0
for core in Core1 Core2 Core3 Core4; do
    [ "$(reading "$core.visible")" = 1 ] && bars=$((bars + 1))
done
[ "$bars" -eq $(( processors < 4 ? processors : 4 )) ] || fail "$bars core bars for $processors processors"
pass "$bars core bars for $processors processors"

for _ in $(seq "$processors"); do
    (while :; do :; done) &
    E2E_PIDS+=($!)
done
readings
load=$(reading lblCPU); load=${load%\%}
[ "$load" -gt 80 ] || fail "overall load ${load}% while every processor is busy"
pass "overall load ${load}% while every processor is kept busy"
for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null; done

settings_with() {
    mkdir -p "$XDG_CONFIG_HOME/Talvessa"
    printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Talvessa]\n%s\n' "$1" \
        >"$XDG_CONFIG_HOME/Talvessa/Talvessa.reg"
}
settings_with '"NrNetwork"="1"
"Network1"="0"'
readings
[[ "$(reading lblAdapter1)" == *"(Connected)" ]] || fail "first adapter row reads '$(reading lblAdapter1)'"
[ "$(reading lblAdapter2.visible)" = 0 ] || fail "the second row is shown for one interface"
pass "one interface: '$(reading lblAdapter1)', second row hidden"

if [ "$(ip -4 -o addr | wc -l)" -ge 2 ]; then
    settings_with '"NrNetwork"="2"
"Network1"="0"
"Network2"="1"'
    readings
    [[ "$(reading lblAdapter2)" == *"(Connected)" ]] || fail "second adapter row reads '$(reading lblAdapter2)'"
    [ "$(reading LAN2.visible)" = 1 ] || fail "the second row is hidden for two interfaces"
    pass "two interfaces: '$(reading lblAdapter1)' and '$(reading lblAdapter2)'"
fi
