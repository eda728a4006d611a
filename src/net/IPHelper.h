#pragma once
// Snapshots of the interface and IPv4 address tables as plain arrays of
// copied rows, and the fixed-width text of an IPv4 address. Nothing is kept
// between calls.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/IpHelper.h"
#include "platform/MibLayout.h"

namespace pelmora {

using TMIBIfArray = std::vector<InterfaceRow64>;
using TMibIPAddrArray = std::vector<MIB_IPADDRROW>;

// A table larger than this is taken for a broken answer, not allocated.
inline constexpr uint32_t kMaxTableBytes = 64u * 1024 * 1024;

// Fills `rows` (empty on entry) with one row per interface in table order.
// It stays empty when the table cannot be read, has no rows, changed between
// the size query and the read, or declares more rows than it holds.
void ReadInterfaceTable(IpHelperService& ipHelper, TMIBIfArray& rows);
// The same for the IPv4 addresses, in the table's sorted order.
void ReadAddressTable(IpHelperService& ipHelper, TMibIPAddrArray& rows);

// The first address of every interface in one address-table snapshot, found
// by interface index in logarithmic time, so one snapshot serves a whole
// monitor pass however many interfaces it has.
class AddressSnapshot {
public:
    AddressSnapshot() = default;
    // `rows` in the table's sorted order: an interface's first row wins.
    explicit AddressSnapshot(const TMibIPAddrArray& rows);
    // In network byte order; none when the snapshot has no row for the index.
    std::optional<uint32_t> firstAddressOf(uint32_t interfaceIndex) const;

private:
    std::vector<std::pair<uint32_t, uint32_t>> firstByIndex_;  // (index, address) by index
};

// "%3d." per octet, first octet first, without the final point: always 15
// characters, "192.168.  0.  1". `address` is in network byte order.
std::string AddressText(uint32_t address);

}  // namespace pelmora
