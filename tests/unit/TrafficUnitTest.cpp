// The traffic record of one interface.
#include <gtest/gtest.h>

#include <cstring>

#include "net/TrafficUnit.h"
#include "platform/fakes/FakeIpHelper.h"

namespace pelmora {
namespace {

using namespace std::chrono_literals;
const std::chrono::steady_clock::time_point kStart{1000s};

const AddressSnapshot kNoAddresses;

InterfaceRow64 rowWithDescription(const void* bytes, size_t byteCount, uint32_t descrLen)
{
    InterfaceRow64 row = interfaceRow(4, "");
    std::memcpy(row.bDescr, bytes, byteCount);
    row.dwDescrLen = descrLen;
    return row;
}

TEST(TrafficRecord, TakesItsIdentityAndCountersFromTheRow)
{
    const AddressSnapshot addresses(
        {addressRow(3, ipv4Address(10, 0, 0, 9)), addressRow(4, ipv4Address(192, 168, 0, 1))});
    InterfaceRow64 row = interfaceRow(4, "eth0 - e1000e", 25'000'000'000, 5'000'000'000, 600);
    row.ReceiveLinkSpeed = 10'000'000'000;  // the faster direction counts
    const TTraffic record(row, addresses, kStart);

    EXPECT_EQ(record.InterfaceIndex, 4u);
    EXPECT_EQ(record.IPAddress, "192.168.  0.  1");
    EXPECT_EQ(record.Description, "eth0 - e1000e");
    EXPECT_EQ(record.Speed, 25'000'000'000u);
    EXPECT_EQ(record.LastInOctets, 5'000'000'000u);
    EXPECT_EQ(record.LastOutOctets, 600u);
    EXPECT_EQ(record.InDelta, 0u);
    EXPECT_EQ(record.OutDelta, 0u);
    EXPECT_TRUE(record.IsConnected);
    EXPECT_EQ(record.StatusText(), "Connected");
    EXPECT_EQ(record.IntervalSeconds, 0);
}

TEST(TrafficRecord, AnInterfaceWithoutAnAddressIsNotFound)
{
    FakeIpHelper fake;
    fake.setAddresses({addressRow(3, ipv4Address(10, 0, 0, 9))});
    EXPECT_EQ(TTraffic::LookupIPAddress(4, fake), "!not_found!");
    fake.answerSizeQueriesWith(kSuccess);  // an address table that cannot be read
    EXPECT_EQ(TTraffic::LookupIPAddress(3, fake), "!not_found!");
}

TEST(TrafficRecord, SeveralAddressesGiveTheFirstInTheSortedTable)
{
    FakeIpHelper fake;
    fake.setAddresses({addressRow(2, ipv4Address(10, 0, 0, 5)), addressRow(4, ipv4Address(10, 0, 0, 7)),
                       addressRow(2, ipv4Address(192, 168, 3, 5))});
    EXPECT_EQ(TTraffic::LookupIPAddress(2, fake), " 10.  0.  0.  5");
    EXPECT_EQ(TTraffic::LookupIPAddress(4, fake), " 10.  0.  0.  7");
}

TEST(TrafficRecord, DescriptionIsCutToItsLengthAndTrimmed)
{
    const std::string full(kMaxLenIfDescr, 'x');
    const struct {
        const char* name;
        InterfaceRow64 row;
        std::string expected;
    } cases[] = {
        {"no length", rowWithDescription("eth0", 5, 0), ""},
        {"only the zero byte", rowWithDescription("eth0", 5, 1), ""},
        {"length counts the zero byte", rowWithDescription("eth0", 5, 5), "eth0"},
        {"shorter length cuts", rowWithDescription("eth0", 5, 3), "et"},
        {"trailing blanks and controls", rowWithDescription("eth0 \t\r\n\x01", 10, 10), "eth0"},
        {"leading blanks", rowWithDescription("  \teth 0", 9, 9), "eth 0"},
        {"only blanks", rowWithDescription(" \n ", 4, 4), ""},
        {"a zero byte ends the text", rowWithDescription("ab\0cd", 6, 6), "ab"},
        {"non-ASCII kept", rowWithDescription("caf\xc3\xa9", 6, 6), "caf\xc3\xa9"},
        {"length beyond the field", rowWithDescription(full.data(), full.size(), 100'000),
         std::string(kMaxLenIfDescr - 1, 'x')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TTraffic(c.row, kNoAddresses, kStart).Description, c.expected) << c.name;
    }
}

TEST(TrafficRecord, UpdateGivesDeltasWithSixtyFourBitWrap)
{
    constexpr uint64_t kMax = UINT64_MAX;
    const struct {
        const char* name;
        uint64_t lastIn, lastOut, in, out;
        uint64_t inDelta, outDelta;
    } cases[] = {
        {"counters that did not move", 700, 800, 700, 800, 0, 0},
        {"plain growth", 700, 800, 1'700, 1'050, 1'000, 250},
        {"past 32 bits without wrapping", 4'294'967'000u, 5, 4'294'967'496u, 5, 496, 0},
        {"12.5 GB in one interval", 1'000, 0, 12'500'001'000, 0, 12'500'000'000, 0},
        {"received counter wrapped", kMax - 295, 5, 200, 5, 496, 0},
        {"sent counter wrapped", 0, kMax, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        TTraffic record(interfaceRow(1, "lo", 10, c.lastIn, c.lastOut), kNoAddresses, kStart);
        record.UpdateCounters(c.in, c.out, 20, kStart + 3s);
        EXPECT_EQ(record.InDelta, c.inDelta) << c.name;
        EXPECT_EQ(record.OutDelta, c.outDelta) << c.name;
        EXPECT_EQ(record.LastInOctets, c.in) << c.name;
        EXPECT_EQ(record.LastOutOctets, c.out) << c.name;
        EXPECT_EQ(record.Speed, 20u) << c.name;
    }
}

TEST(TrafficRecord, KeepsTheSecondsBetweenItsTwoLatestUpdates)
{
    TTraffic record(interfaceRow(1, "lo", 10, 100, 100), kNoAddresses, kStart);
    record.UpdateCounters(150, 100, 10, kStart + 2500ms);
    EXPECT_DOUBLE_EQ(record.IntervalSeconds, 2.5);
    EXPECT_EQ(record.InDelta, 50u);  // measured from the counters read at construction

    record.UpdateCounters(160, 100, 10, kStart + 3500ms);
    EXPECT_DOUBLE_EQ(record.IntervalSeconds, 1.0);
    EXPECT_EQ(record.LastUpdate, kStart + 3500ms);

    record.UpdateCounters(170, 100, 10, kStart);  // a clock that went back
    EXPECT_EQ(record.IntervalSeconds, 0);
}

TEST(TrafficRecord, NotConnectedDropsTheDeltas)
{
    TTraffic record(interfaceRow(1, "lo", 10, 100, 100), kNoAddresses, kStart);
    record.UpdateCounters(150, 170, 10, kStart + 1s);
    record.markNotConnected();
    EXPECT_EQ(record.StatusText(), "Not Connected");
    EXPECT_EQ(record.InDelta, 0u);
    EXPECT_EQ(record.OutDelta, 0u);
    EXPECT_EQ(record.LastInOctets, 150u);
}

}  // namespace
}  // namespace pelmora
