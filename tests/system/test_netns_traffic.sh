#!/bin/bash
# Meters real traffic between two throw-away network namespaces joined by a
# veth pair. Addresses live only inside those namespaces, so nothing reaches
# the machine's own interfaces. Exit 77 (skipped) where namespaces are not
# permitted.
set -u
probe=${1:?usage: test_netns_traffic.sh NETNS_PROBE}

skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "creating network namespaces needs root"
command -v ip > /dev/null || skip "the ip command (iproute2) is missing"

nsA=pelmora-a-$$
nsB=pelmora-b-$$
subnet=10.213.$(($$ % 256))
cleanup() {
    ip netns del "$nsA" 2> /dev/null
    ip netns del "$nsB" 2> /dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

error=$(ip netns add "$nsA" 2>&1) || skip "network namespaces not permitted: $error"
error=$(ip netns add "$nsB" 2>&1) || skip "network namespaces not permitted: $error"
error=$(ip netns exec "$nsA" true 2>&1) || skip "cannot run inside a network namespace: $error"

set -e
for ns in "$nsA" "$nsB"; do
    # No IPv6 chatter on the measured link.
    ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1 \
        2> /dev/null || true
    ip -n "$ns" link set lo up
done
ip link add va0 netns "$nsA" type veth peer name vb0 netns "$nsB"
ip -n "$nsA" addr add "$subnet.1/30" dev va0
ip -n "$nsB" addr add "$subnet.2/30" dev vb0
ip -n "$nsA" link set va0 up
ip -n "$nsB" link set vb0 up
# Fixed neighbours: no address resolution frames among the measured ones.
macA=$(ip netns exec "$nsA" cat /sys/class/net/va0/address)
macB=$(ip netns exec "$nsB" cat /sys/class/net/vb0/address)
ip -n "$nsA" neigh replace "$subnet.2" lladdr "$macB" dev va0 nud permanent
ip -n "$nsB" neigh replace "$subnet.1" lladdr "$macA" dev vb0 nud permanent
for attempt in $(seq 100); do
    ip -n "$nsA" link show va0 | grep -q "state UP" &&
        ip -n "$nsB" link show vb0 | grep -q "state UP" && break
    sleep 0.1
done
set +e

ip netns exec "$nsA" "$probe" --interface va0 --local "$subnet.1" --peer "$subnet.2" \
    --peer-netns "$nsB" --added-address "$subnet.5"
