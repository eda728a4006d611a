#pragma once
// The kernel's interface and IPv4 address lists in one routing-netlink dump
// each: on a host with hundreds of interfaces, one dump costs less than
// opening a single file per interface under /sys/class/net.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelmora {

// One interface as the link dump gives it.
struct NetlinkLink {
    uint32_t index = 0;
    std::string name;
    uint16_t linkType = 0;  // ARPHRD_*
    uint32_t flags = 0;     // IFF_*
    uint8_t operState = 0;  // IF_OPER_*
    uint32_t mtu = 0;
    std::array<uint8_t, 8> physicalAddress{};  // the first 8 bytes
    uint32_t physicalAddressLength = 0;
    uint64_t receivedOctets = 0;
    uint64_t sentOctets = 0;
    uint32_t carrierChanges = 0;
};

// One IPv4 address as the address dump gives it; addresses in network order.
struct NetlinkIpv4Address {
    uint32_t interfaceIndex = 0;
    std::string label;  // "eth0", or an alias label "eth0:1"
    uint32_t address = 0;
    uint32_t netmask = 0;
    uint32_t broadcast = 0;
};

// Every interface and every IPv4 address of this network namespace; none
// when the dump cannot be made.
std::optional<std::vector<NetlinkLink>> dumpNetlinkLinks();
std::optional<std::vector<NetlinkIpv4Address>> dumpNetlinkIpv4Addresses();

// The messages of one dump answer, `size` bytes from `data`, added to the
// list; false when a message is malformed. Apart from the socket, so tests
// can hand in recorded answers.
bool parseLinkMessages(const uint8_t* data, size_t size, std::vector<NetlinkLink>& links);
bool parseIpv4AddressMessages(const uint8_t* data, size_t size, std::vector<NetlinkIpv4Address>& addresses);

}  // namespace pelmora
