#pragma once
// In-memory interface and address tables with the two-call size protocol,
// faults on demand, and a gate that lets a test run the network monitor's
// passes one at a time. Safe to use from the monitor thread and the test.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/IpHelper.h"

namespace pelmora {

// An address in network byte order: a.b.c.d with `a` in the lowest byte.
constexpr uint32_t ipv4Address(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return uint32_t{a} | uint32_t{b} << 8 | uint32_t{c} << 16 | uint32_t{d} << 24;
}

// A row whose description carries its terminating zero, as the platform
// delivers it; the published 32-bit fields cut and saturated as there.
InterfaceRow64 interfaceRow(uint32_t index, const std::string& description, uint64_t speedBitsPerSecond = 0,
                            uint64_t inOctets = 0, uint64_t outOctets = 0);
MIB_IPADDRROW addressRow(uint32_t interfaceIndex, uint32_t address);

class FakeIpHelper : public IpHelperService {
public:
    uint32_t getIfTable(uint8_t* table, uint32_t* size, bool sorted) override;
    uint32_t getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted) override;

    void setInterfaces(std::vector<InterfaceRow64> rows);
    void addInterface(const InterfaceRow64& row);
    void removeInterface(uint32_t index);
    void setCounters(uint32_t index, uint64_t inOctets, uint64_t outOctets);
    // Kept in the order given, which stands for the platform's sorted order.
    void setAddresses(std::vector<MIB_IPADDRROW> rows);
    void addAddress(const MIB_IPADDRROW& row);
    void removeAddresses(uint32_t interfaceIndex);

    // Size queries of both tables answer `code` instead of the needed size
    // (kErrorInsufficientBuffer restores the protocol).
    void answerSizeQueriesWith(uint32_t code);
    // The row joins the interface table right after the next size query, so
    // the read that follows finds the table grown.
    void growInterfaceTableAfterNextSizeQuery(const InterfaceRow64& row);
    // Interface tables declare this many rows more than they hold.
    void overstateInterfaceRowCount(uint32_t extraRows);
    // After `lookups` more address-table size queries, the next one throws
    // std::runtime_error once. Negative: never.
    void throwOnAddressLookup(int lookups);

    int interfaceSizeQueries() const;
    int addressSizeQueries() const;
    std::optional<bool> lastInterfaceSortRequest() const;
    std::optional<bool> lastAddressSortRequest() const;

private:
    mutable std::mutex mutex_;
    std::vector<InterfaceRow64> interfaces_;
    std::vector<MIB_IPADDRROW> addresses_;
    uint32_t sizeQueryAnswer_ = kErrorInsufficientBuffer;
    std::optional<InterfaceRow64> pendingGrowth_;
    uint32_t extraRows_ = 0;
    int lookupsBeforeThrow_ = -1;
    int interfaceSizeQueries_ = 0;
    int addressSizeQueries_ = 0;
    std::optional<bool> interfaceSorted_;
    std::optional<bool> addressSorted_;
};

// Wraps another service and holds each network-monitor pass at its start
// (the interface-table size query) until the test lets it run. Meant for a
// monitor whose pauses are 0, so the next pass begins right after one ends.
class GatedIpHelper : public IpHelperService {
public:
    explicit GatedIpHelper(IpHelperService& inner) : inner_(inner) {}
    uint32_t getIfTable(uint8_t* table, uint32_t* size, bool sorted) override;
    uint32_t getIpAddrTable(uint8_t* table, uint32_t* size, bool sorted) override;

    // Lets one pass run and waits until it has ended, that is until the next
    // pass is held. False when that does not happen within `timeout`.
    bool runPass(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Lets every pass run from now on, so the monitor can stop.
    void open();

private:
    IpHelperService& inner_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int passesStarted_ = 0;
    int passesAllowed_ = 0;
    bool open_ = false;
};

}  // namespace pelmora
