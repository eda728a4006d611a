// The interface and address tables as the system answers them, through the
// same readers the network monitor uses. Wine reports link speeds of 0; the
// load against a speed is covered by NetworkPanelTest on fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "net/IPHelper.h"
#include "platform/windows/WindowsIpHelper.h"

namespace pelmora {
namespace {

constexpr uint32_t kLoopback = 0x0100007F;  // 127.0.0.1, first octet lowest

TEST(WindowsIpHelper, TheSizeQueryNamesTheBytesOfTheWholeTable)
{
    WindowsIpHelper ipHelper;
    uint32_t size = 0;
    ASSERT_EQ(ipHelper.getIfTable(nullptr, &size, false), kErrorInsufficientBuffer);
    ASSERT_GE(size, kTableHeaderBytes + sizeof(InterfaceRow64));
    std::vector<uint8_t> table(size);
    uint32_t tooSmall = size - 1;
    EXPECT_EQ(ipHelper.getIfTable(table.data(), &tooSmall, false), kErrorInsufficientBuffer);
    EXPECT_EQ(ipHelper.getIfTable(table.data(), &size, false), kSuccess);
    uint32_t rows = 0;
    std::memcpy(&rows, table.data(), sizeof rows);
    EXPECT_EQ(kTableHeaderBytes + rows * sizeof(InterfaceRow64), size);
    EXPECT_EQ(ipHelper.getIpAddrTable(nullptr, nullptr, true), kErrorInvalidParameter);
}

TEST(WindowsIpHelper, LoopbackHasAnInterfaceRowAndAnAddressRow)
{
    WindowsIpHelper ipHelper;
    TMIBIfArray interfaces;
    TMibIPAddrArray addresses;
    ReadInterfaceTable(ipHelper, interfaces);
    ReadAddressTable(ipHelper, addresses);
    ASSERT_FALSE(interfaces.empty());
    ASSERT_FALSE(addresses.empty());

    const auto loopback = std::find_if(addresses.begin(), addresses.end(),
                                       [](const MIB_IPADDRROW& row) { return row.dwAddr == kLoopback; });
    ASSERT_NE(loopback, addresses.end());
    const auto carrier = std::find_if(interfaces.begin(), interfaces.end(), [&](const InterfaceRow64& row) {
        return row.dwIndex == loopback->dwIndex;
    });
    ASSERT_NE(carrier, interfaces.end());
    ASSERT_GT(carrier->dwDescrLen, 0u);
    ASSERT_LE(carrier->dwDescrLen, sizeof carrier->bDescr);
    // The 64-bit table's counters, read after the 32-bit ones, and no
    // "unknown" marker taken for a speed.
    EXPECT_GE(carrier->InOctets, carrier->dwInOctets);
    for (const InterfaceRow64& row : interfaces) EXPECT_NE(row.TransmitLinkSpeed, ~uint64_t{0});

    // Sorted by address, in network order.
    EXPECT_TRUE(std::is_sorted(addresses.begin(), addresses.end(), [](const auto& a, const auto& b) {
        return __builtin_bswap32(a.dwAddr) < __builtin_bswap32(b.dwAddr);
    }));
}

}  // namespace
}  // namespace pelmora
