#pragma once
// Snapshots of the interface and IPv4 address tables as plain arrays of
// copied rows, and the fixed-width text of an IPv4 address. Nothing is kept
// between calls.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/IpHelper.h"
#include "platform/MibLayout.h"

namespace pelmora {

using TMIBIfArray = std::vector<MIB_IFROW>;
using TMibIPAddrArray = std::vector<MIB_IPADDRROW>;

// A table larger than this is taken for a broken answer, not allocated.
inline constexpr uint32_t kMaxTableBytes = 64u * 1024 * 1024;

// Fills `rows` (empty on entry) with one row per interface in table order.
// It stays empty when the table cannot be read, has no rows, changed between
// the size query and the read, or declares more rows than it holds.
void ReadInterfaceTable(IpHelperService& ipHelper, TMIBIfArray& rows);
// The same for the IPv4 addresses, in the table's sorted order.
void ReadAddressTable(IpHelperService& ipHelper, TMibIPAddrArray& rows);

// "%3d." per octet, first octet first, without the final point: always 15
// characters, "192.168.  0.  1". `address` is in network byte order.
std::string AddressText(uint32_t address);

}  // namespace pelmora
