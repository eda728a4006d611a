#pragma once
// The interface table from /sys/class/net and the IPv4 address table from the
// system's interface addresses, with the two-call size protocol.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/IpHelper.h"

namespace pelmora {

// One IPv4 address of an interface; addresses in network byte order.
struct InterfaceIpv4Address {
    std::string interfaceName;  // may carry an alias label, "eth0:1"
    uint32_t address = 0;
    uint32_t netmask = 0;
    uint32_t broadcast = 0;
};

class Ipv4AddressSource {
public:
    virtual ~Ipv4AddressSource() = default;
    // Every IPv4 address of the machine; empty when they cannot be read.
    virtual std::vector<InterfaceIpv4Address> addresses() = 0;
};

// The addresses as getifaddrs lists them.
class SystemIpv4Addresses : public Ipv4AddressSource {
public:
    std::vector<InterfaceIpv4Address> addresses() override;
};

class LinuxIpHelper : public IpHelperService {
public:
    explicit LinuxIpHelper(std::filesystem::path root = "/", std::shared_ptr<Ipv4AddressSource> addresses =
                                                                 std::make_shared<SystemIpv4Addresses>());

    uint32_t getIfTable(uint8_t* table, uint32_t* size, bool sorted) override;
    uint32_t getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted) override;

    // One row per interface of <root>/sys/class/net with a readable ifindex,
    // by ifindex.
    // With `identitiesOnly`, rows that carry nothing but their index: enough
    // to answer a size query without reading every interface's files.
    std::vector<InterfaceRow64> interfaceRows(bool identitiesOnly = false) const;
    // One row per address whose interface is found under <root>/sys/class/net,
    // sorted by address.
    std::vector<MIB_IPADDRROW> addressRows() const;

private:
    std::filesystem::path netClass_;
    std::shared_ptr<Ipv4AddressSource> addresses_;
};

}  // namespace pelmora
