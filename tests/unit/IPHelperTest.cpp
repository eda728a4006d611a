// Snapshots of the interface and address tables and the address text.
#include <gtest/gtest.h>

#include <functional>

#include "net/IPHelper.h"
#include "platform/fakes/FakeIpHelper.h"

namespace pelmora {
namespace {

TEST(AddressText, WritesEachOctetInThreeColumns)
{
    const struct {
        uint32_t address;
        const char* text;
    } cases[] = {
        {ipv4Address(192, 168, 0, 1), "192.168.  0.  1"},
        {ipv4Address(10, 0, 0, 1), " 10.  0.  0.  1"},
        {ipv4Address(0, 0, 0, 0), "  0.  0.  0.  0"},
        {ipv4Address(255, 255, 255, 255), "255.255.255.255"},
        {ipv4Address(127, 0, 10, 99), "127.  0. 10. 99"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AddressText(c.address), c.text);
        EXPECT_EQ(AddressText(c.address).size(), 15u);
    }
}

TEST(ReadInterfaceTable, CopiesRowsInTableOrderWithAnUnsortedRequest)
{
    FakeIpHelper fake;
    fake.setInterfaces({interfaceRow(7, "eth0", 100'000'000, 11, 12), interfaceRow(1, "lo")});
    TMIBIfArray rows;
    ReadInterfaceTable(fake, rows);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].dwIndex, 7u);
    EXPECT_EQ(rows[0].dwSpeed, 100'000'000u);
    EXPECT_EQ(rows[0].dwInOctets, 11u);
    EXPECT_EQ(rows[0].dwOutOctets, 12u);
    EXPECT_EQ(rows[1].dwIndex, 1u);
    EXPECT_EQ(fake.lastInterfaceSortRequest(), false);
}

TEST(ReadAddressTable, KeepsThePlatformsSortedOrderWithSeveralAddressesPerInterface)
{
    FakeIpHelper fake;
    fake.setAddresses({addressRow(2, ipv4Address(10, 0, 0, 5)), addressRow(1, ipv4Address(127, 0, 0, 1)),
                       addressRow(2, ipv4Address(192, 168, 1, 5))});
    TMibIPAddrArray rows;
    ReadAddressTable(fake, rows);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].dwAddr, ipv4Address(10, 0, 0, 5));
    EXPECT_EQ(rows[1].dwIndex, 1u);
    EXPECT_EQ(rows[2].dwAddr, ipv4Address(192, 168, 1, 5));
    EXPECT_EQ(fake.lastAddressSortRequest(), true);
}

TEST(ReadInterfaceTable, ZeroRowsGiveAnEmptyArray)
{
    FakeIpHelper fake;
    TMIBIfArray rows;
    ReadInterfaceTable(fake, rows);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(fake.interfaceSizeQueries(), 1);
}

TEST(ReadInterfaceTable, ASizeQueryAnsweredWithAnythingButTooSmallLeavesTheArrayEmpty)
{
    for (const uint32_t answer : {kSuccess, kErrorInvalidParameter, kErrorMoreData, uint32_t{232}}) {
        FakeIpHelper fake;
        fake.setInterfaces({interfaceRow(1, "lo")});
        fake.answerSizeQueriesWith(answer);
        TMIBIfArray rows;
        ReadInterfaceTable(fake, rows);
        EXPECT_TRUE(rows.empty()) << answer;
    }
}

TEST(ReadInterfaceTable, ATableThatGrowsBetweenTheTwoCallsGivesAnEmptySnapshotWithoutRetry)
{
    FakeIpHelper fake;
    fake.setInterfaces({interfaceRow(1, "lo")});
    fake.growInterfaceTableAfterNextSizeQuery(interfaceRow(2, "eth0"));
    TMIBIfArray rows;
    ReadInterfaceTable(fake, rows);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(fake.interfaceSizeQueries(), 1);

    ReadInterfaceTable(fake, rows);
    EXPECT_EQ(rows.size(), 2u);
}

TEST(ReadInterfaceTable, ARowCountBeyondTheBufferIsNotRead)
{
    FakeIpHelper fake;
    fake.setInterfaces({interfaceRow(1, "lo"), interfaceRow(2, "eth0")});
    fake.overstateInterfaceRowCount(1);
    TMIBIfArray rows;
    ReadInterfaceTable(fake, rows);
    EXPECT_TRUE(rows.empty());
}

// A service whose every answer is scripted by the test.
class ScriptedIpHelper : public IpHelperService {
public:
    std::function<uint32_t(uint8_t*, uint32_t*)> answer;
    uint32_t getIfTable(uint8_t* table, uint32_t* size, bool) override { return answer(table, size); }
    uint32_t getIpAddrTable(uint8_t* table, uint32_t* size, bool) override { return answer(table, size); }
};

TEST(ReadInterfaceTable, ImplausibleNeededSizesAreNotAllocated)
{
    for (const uint32_t needed : {0u, 3u, kMaxTableBytes + 1, UINT32_MAX}) {
        ScriptedIpHelper service;
        int calls = 0;
        service.answer = [&](uint8_t*, uint32_t* size) {
            ++calls;
            *size = needed;
            return kErrorInsufficientBuffer;
        };
        TMIBIfArray rows;
        ReadInterfaceTable(service, rows);
        EXPECT_TRUE(rows.empty()) << needed;
        EXPECT_EQ(calls, 1) << needed;
    }
}

TEST(ReadAddressTable, ABufferWithRoomForMoreRowsThanDeclaredCopiesOnlyTheDeclaredOnes)
{
    ScriptedIpHelper service;
    service.answer = [](uint8_t* table, uint32_t* size) {
        const std::vector<MIB_IPADDRROW> rows{addressRow(3, ipv4Address(10, 1, 2, 3))};
        if (table == nullptr) {
            *size = kTableHeaderBytes + 2 * sizeof(MIB_IPADDRROW);  // room for two
            return kErrorInsufficientBuffer;
        }
        return answerTableQuery(rows, table, size);
    };
    TMibIPAddrArray rows;
    ReadAddressTable(service, rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].dwIndex, 3u);
}

TEST(AnswerTableQuery, FollowsTheSizeProtocol)
{
    const std::vector<MIB_IPADDRROW> rows{addressRow(1, 1), addressRow(2, 2)};
    const uint32_t needed = kTableHeaderBytes + 2 * sizeof(MIB_IPADDRROW);

    EXPECT_EQ(answerTableQuery(rows, nullptr, nullptr), kErrorInvalidParameter);
    uint32_t size = 10'000;
    EXPECT_EQ(answerTableQuery(rows, nullptr, &size), kErrorInsufficientBuffer);
    EXPECT_EQ(size, needed);
    std::vector<uint8_t> buffer(needed);
    size = needed - 1;
    EXPECT_EQ(answerTableQuery(rows, buffer.data(), &size), kErrorInsufficientBuffer);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(answerTableQuery(rows, buffer.data(), &size), kSuccess);
    EXPECT_EQ(buffer[0], 2);
}

}  // namespace
}  // namespace pelmora
