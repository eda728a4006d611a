// The interface and address tables read from /sys/class/net trees and an
// address list.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "net/IPHelper.h"
#include "platform/fakes/FakeIpHelper.h"
#include "platform/fakes/ListedIpv4Addresses.h"
#include "platform/linux/LinuxIpHelper.h"

namespace pelmora {
namespace {

namespace fs = std::filesystem;
const fs::path kMachine = fs::path(PELMORA_FIXTURES) / "net" / "machine";

std::shared_ptr<Ipv4AddressSource> noAddresses()
{
    return std::make_shared<ListedIpv4Addresses>(std::vector<InterfaceIpv4Address>{});
}

// A /sys/class/net tree in a fresh temporary folder.
class TempTree {
public:
    TempTree()
    {
        std::string pattern = (fs::temp_directory_path() / "pelmora-net-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
    }
    ~TempTree() { fs::remove_all(root_); }
    void write(const std::string& relative, const std::string& text) const
    {
        const fs::path file = root_ / "sys/class/net" / relative;
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    InterfaceRow64 onlyRow() const
    {
        const auto rows = LinuxIpHelper(root_, noAddresses()).interfaceRows();
        EXPECT_EQ(rows.size(), 1u);
        return rows.empty() ? InterfaceRow64{} : rows[0];
    }
    const fs::path& root() const { return root_; }

private:
    fs::path root_;
};

std::string descriptionOf(const InterfaceRow64& row)
{
    return std::string(reinterpret_cast<const char*>(row.bDescr), row.dwDescrLen - 1);
}

TEST(LinuxIpHelper, ReadsOneRowPerInterfaceByIndex)
{
    const auto rows = LinuxIpHelper(kMachine, noAddresses()).interfaceRows();
    const struct {
        uint32_t index, type;
        uint64_t speed, in, out;
        uint32_t admin, oper;
        const char* description;
    } expected[] = {
        {1, 24, 0, 5'000'000'000, 5'000'000'000, 1, 5, "lo"},
        {2, 6, 100'000'000'000, 300, 400, 1, 3, "usb0 - USB 10/100/1000 LAN - r8152"},
        {3, 71, 0, 10, 20, 2, 0, "wlan0"},
        {4, 6, 0, 0, 0, 1, 2, "veth9"},
        {7, 6, 1'000'000'000, UINT32_MAX, 200, 1, 5, "eth0 - e1000e"},
        {9, 23, 0, 0, 0, 1, 5, "ppp0"},
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (size_t at = 0; at < rows.size(); ++at) {
        const auto& e = expected[at];
        const InterfaceRow64& row = rows[at];
        EXPECT_EQ(row.dwIndex, e.index) << at;
        EXPECT_EQ(row.dwType, e.type) << e.description;
        EXPECT_EQ(row.TransmitLinkSpeed, e.speed) << e.description;
        EXPECT_EQ(row.ReceiveLinkSpeed, e.speed) << e.description;
        EXPECT_EQ(row.InOctets, e.in) << e.description;
        EXPECT_EQ(row.OutOctets, e.out) << e.description;
        EXPECT_EQ(row.dwAdminStatus, e.admin) << e.description;
        EXPECT_EQ(row.dwOperStatus, e.oper) << e.description;
        EXPECT_EQ(descriptionOf(row), e.description);
    }
    EXPECT_EQ(rows[4].dwMtu, 1500u);
    EXPECT_EQ(rows[4].dwPhysAddrLen, 6u);
    EXPECT_EQ(rows[4].bPhysAddr[5], 0x56);
    EXPECT_EQ(rows[3].dwPhysAddrLen, 0u);  // "zz:00" is no address
    EXPECT_EQ(rows[4].wszName[0], u'e');
}

TEST(LinuxIpHelper, SpeedIsMegabitsTimesAMillionOrZeroWhenUnknown)
{
    const struct {
        const char* text;
        uint64_t bitsPerSecond;
        uint32_t published;  // the 32-bit field saturates
    } cases[] = {
        {"1000\n", 1'000'000'000, 1'000'000'000},
        {"10", 10'000'000, 10'000'000},
        {"4294", 4'294'000'000u, 4'294'000'000u},
        {"4295", 4'295'000'000u, UINT32_MAX},
        {"10000", 10'000'000'000, UINT32_MAX},
        {"400000", 400'000'000'000, UINT32_MAX},
        {"-1", 0, 0},
        {"0", 0, 0},
        {"", 0, 0},
        {"fast", 0, 0},
        {"12Mb", 0, 0},
        {"9223372036855", 0, 0},  // beyond 64 bits once in bit/s
        {"99999999999999999999", 0, 0},
    };
    for (const auto& c : cases) {
        TempTree tree;
        tree.write("eth0/ifindex", "2\n");
        tree.write("eth0/speed", c.text);
        const InterfaceRow64 row = tree.onlyRow();
        EXPECT_EQ(row.TransmitLinkSpeed, c.bitsPerSecond) << c.text;
        EXPECT_EQ(row.ReceiveLinkSpeed, c.bitsPerSecond) << c.text;
        EXPECT_EQ(row.dwSpeed, c.published) << c.text;
    }
    TempTree unreadable;  // no speed file at all
    unreadable.write("eth0/ifindex", "2\n");
    EXPECT_EQ(unreadable.onlyRow().TransmitLinkSpeed, 0u);
}

TEST(LinuxIpHelper, OctetCountersAreReadAtSixtyFourBits)
{
    const struct {
        const char* text;
        uint64_t octets;
        uint32_t published;  // the 32-bit field wraps
    } cases[] = {
        {"123\n", 123, 123},
        {"4294967296", 4'294'967'296, 0},
        {"5000000000", 5'000'000'000, 705'032'704},
        {"18446744073709551615", UINT64_MAX, UINT32_MAX},
        {"18446744073709551616", 0, 0},
        {"-7", 0, 0},
        {"", 0, 0},
        {"1e9", 0, 0},
    };
    for (const auto& c : cases) {
        TempTree tree;
        tree.write("eth0/ifindex", "2");
        tree.write("eth0/statistics/rx_bytes", c.text);
        tree.write("eth0/statistics/tx_bytes", c.text);
        const InterfaceRow64 row = tree.onlyRow();
        EXPECT_EQ(row.InOctets, c.octets) << c.text;
        EXPECT_EQ(row.OutOctets, c.octets) << c.text;
        EXPECT_EQ(row.dwInOctets, c.published) << c.text;
        EXPECT_EQ(row.dwOutOctets, c.published) << c.text;
    }
}

TEST(LinuxIpHelper, InterfacesWithoutAUsableIndexAreLeftOut)
{
    for (const char* index : {"", "0", "-3", "x", "4294967296"}) {
        TempTree tree;
        tree.write("eth0/ifindex", index);
        tree.write("lo/ifindex", "1");
        const auto rows = LinuxIpHelper(tree.root(), noAddresses()).interfaceRows();
        ASSERT_EQ(rows.size(), 1u) << index;
        EXPECT_EQ(rows[0].dwIndex, 1u);
    }
}

TEST(LinuxIpHelper, ALongOrOddDeviceModelStaysInTheDescriptionField)
{
    TempTree tree;
    tree.write("eth0/ifindex", "2");
    // 254 bytes, then a two-byte character across the 255-byte limit.
    tree.write("eth0/device/product", std::string(247, 'M') + "\xc3\xa9 tail");
    InterfaceRow64 row = tree.onlyRow();
    EXPECT_EQ(descriptionOf(row), "eth0 - " + std::string(247, 'M'));
    EXPECT_LE(row.dwDescrLen, 256u);
    EXPECT_EQ(row.bDescr[row.dwDescrLen - 1], 0);

    tree.write("eth0/device/product", "Fast\tLAN\x01");
    EXPECT_EQ(descriptionOf(tree.onlyRow()), "eth0 - Fast LAN");
}

TEST(LinuxIpHelper, AMissingTreeHasNoInterfaces)
{
    LinuxIpHelper helper("/nonexistent/pelmora", noAddresses());
    uint32_t size = 0;
    EXPECT_EQ(helper.getIfTable(nullptr, &size, false), kErrorInsufficientBuffer);
    EXPECT_EQ(size, kTableHeaderBytes);
    TMIBIfArray rows;
    ReadInterfaceTable(helper, rows);
    EXPECT_TRUE(rows.empty());
}

TEST(LinuxIpHelper, AddressRowsAreSortedByAddressAndMatchedToInterfaces)
{
    auto source = std::make_shared<ListedIpv4Addresses>(std::vector<InterfaceIpv4Address>{
        {"eth0", ipv4Address(192, 168, 1, 20), ipv4Address(255, 255, 255, 0), ipv4Address(192, 168, 1, 255)},
        {"lo", ipv4Address(127, 0, 0, 1), ipv4Address(255, 0, 0, 0), 0},
        {"eth0:1", ipv4Address(10, 0, 0, 5), 0, 0},
        {"gone0", ipv4Address(10, 0, 0, 1), 0, 0},
        {"../../../etc", ipv4Address(10, 0, 0, 2), 0, 0},
        {"", ipv4Address(10, 0, 0, 3), 0, 0},
        {"usb0", ipv4Address(192, 168, 1, 3), 0, 0},
    });
    LinuxIpHelper helper(kMachine, source);
    TMibIPAddrArray rows;
    ReadAddressTable(helper, rows);
    const std::vector<std::pair<uint32_t, uint32_t>> expected{
        {ipv4Address(10, 0, 0, 5), 7},
        {ipv4Address(127, 0, 0, 1), 1},
        {ipv4Address(192, 168, 1, 3), 2},
        {ipv4Address(192, 168, 1, 20), 7},
    };
    std::vector<std::pair<uint32_t, uint32_t>> actual;
    for (const auto& row : rows) actual.emplace_back(row.dwAddr, row.dwIndex);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(rows[3].dwMask, ipv4Address(255, 255, 255, 0));
    EXPECT_EQ(rows[3].dwBCastAddr, ipv4Address(192, 168, 1, 255));
}

TEST(LinuxIpHelper, FollowsTheTwoCallProtocol)
{
    LinuxIpHelper helper(kMachine, noAddresses());
    EXPECT_EQ(helper.getIfTable(nullptr, nullptr, false), kErrorInvalidParameter);
    uint32_t size = 0;
    ASSERT_EQ(helper.getIfTable(nullptr, &size, false), kErrorInsufficientBuffer);
    EXPECT_EQ(size, kTableHeaderBytes + 6 * sizeof(InterfaceRow64));
    TMIBIfArray rows;
    ReadInterfaceTable(helper, rows);
    EXPECT_EQ(rows.size(), 6u);
}

TEST(LinuxIpHelper, ATableThatGrowsBetweenTheCallsFailsTheSecond)
{
    TempTree tree;
    tree.write("lo/ifindex", "1");
    LinuxIpHelper helper(tree.root(), noAddresses());
    uint32_t size = 0;
    ASSERT_EQ(helper.getIfTable(nullptr, &size, false), kErrorInsufficientBuffer);
    tree.write("eth0/ifindex", "2");
    std::vector<uint8_t> buffer(size);
    EXPECT_EQ(helper.getIfTable(buffer.data(), &size, false), kErrorInsufficientBuffer);
    EXPECT_EQ(size, kTableHeaderBytes + 2 * sizeof(InterfaceRow64));
}

TEST(SystemIpv4Addresses, ListsTheLoopbackAddressWhenTheMachineHasOne)
{
    const auto addresses = SystemIpv4Addresses().addresses();
    for (const auto& address : addresses) {
        EXPECT_FALSE(address.interfaceName.empty());
        EXPECT_NE(address.address, 0u);
    }
    const bool loopback = std::any_of(addresses.begin(), addresses.end(), [](const auto& address) {
        return address.address == ipv4Address(127, 0, 0, 1);
    });
    if (!loopback) GTEST_SKIP() << "no 127.0.0.1 on this machine";
    const auto rows = LinuxIpHelper().addressRows();
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                            [](const auto& row) { return row.dwAddr == ipv4Address(127, 0, 0, 1); }));
}

}  // namespace
}  // namespace pelmora
