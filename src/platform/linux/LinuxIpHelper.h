#pragma once
// The interface table and the IPv4 address table, with the two-call size
// protocol. On the running system (root "/") the interfaces, their state and
// counters come from one routing-netlink dump per table read, and only what
// stays put (type, description) or changes with the link (speed) from
// /sys/class/net, kept between reads; under any other root (a fixture tree)
// everything is read from the tree's files.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/IpHelper.h"
#include "platform/linux/NetlinkRoute.h"

namespace pelmora {

// One IPv4 address of an interface; addresses in network byte order.
struct InterfaceIpv4Address {
    std::string interfaceName;  // may carry an alias label, "eth0:1"
    uint32_t address = 0;
    uint32_t netmask = 0;
    uint32_t broadcast = 0;
    uint32_t interfaceIndex = 0;  // 0: found by name under the tree
};

class Ipv4AddressSource {
public:
    virtual ~Ipv4AddressSource() = default;
    // Every IPv4 address of the machine; empty when they cannot be read.
    virtual std::vector<InterfaceIpv4Address> addresses() = 0;
};

// The addresses of a routing-netlink dump, or as getifaddrs lists them when
// the dump cannot be made.
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

    // One row per interface, by ifindex: of <root>/sys/class/net with a
    // readable ifindex, or of the netlink dump on the running system.
    // With `identitiesOnly`, rows that carry nothing but their index, at
    // least as many as there are interfaces: enough to answer a size query
    // without reading every interface's files.
    std::vector<InterfaceRow64> interfaceRows(bool identitiesOnly = false) const;
    // One row per address whose interface is found under <root>/sys/class/net,
    // sorted by address.
    std::vector<MIB_IPADDRROW> addressRows() const;

private:
    // A list read to answer a size query, kept for the read that follows it:
    // both calls answer from one snapshot, and the read reads nothing again.
    // Taken once, and only while fresh, so no later read sees an old list.
    template <typename Item>
    class HeldList {
    public:
        void hold(std::vector<Item> items)
        {
            std::lock_guard lock(mutex_);
            items_ = std::move(items);
            heldAt_ = std::chrono::steady_clock::now();
        }
        std::optional<std::vector<Item>> take()
        {
            std::lock_guard lock(mutex_);
            std::optional<std::vector<Item>> items = std::move(items_);
            items_.reset();
            if (std::chrono::steady_clock::now() - heldAt_ > std::chrono::seconds(1)) return std::nullopt;
            return items;
        }

    private:
        std::mutex mutex_;
        std::optional<std::vector<Item>> items_;
        std::chrono::steady_clock::time_point heldAt_;
    };

    // What is kept of an interface between reads, by index.
    struct CachedInterface {
        std::string name;
        uint32_t type = 0;
        std::string description;
        uint64_t speed = 0;
        uint32_t carrierChanges = 0;
        uint8_t operState = 0;
    };
    std::vector<InterfaceRow64> liveInterfaceRows(const std::vector<NetlinkLink>& links) const;
    std::vector<MIB_IPADDRROW> addressRows(const std::vector<InterfaceIpv4Address>& addresses) const;

    bool live_;
    std::filesystem::path netClass_;
    std::shared_ptr<Ipv4AddressSource> addresses_;
    mutable std::mutex cacheMutex_;
    mutable std::map<uint32_t, CachedInterface> cache_;
    HeldList<NetlinkLink> heldLinks_;
    HeldList<InterfaceIpv4Address> heldAddresses_;
};

}  // namespace pelmora
