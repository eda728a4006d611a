// The monitor thread's list: appends, updates, connection state, errors and
// stopping. Passes run one at a time through a gate, so nothing here depends
// on how fast the machine is.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <tuple>

#include "net/NetMonitorThread.h"
#include "platform/fakes/FakeIpHelper.h"

namespace pelmora {
namespace {

using namespace std::chrono_literals;

class ManualClock {
public:
    std::chrono::steady_clock::time_point now() const
    {
        return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(nanoseconds_.load()));
    }
    void advance(std::chrono::nanoseconds by) { nanoseconds_ += by.count(); }

private:
    std::atomic<int64_t> nanoseconds_{1'000'000'000'000};
};

template <typename Condition>
bool waitUntil(Condition condition, std::chrono::seconds timeout = 20s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class NetMonitorTest : public ::testing::Test {
protected:
    void start()
    {
        monitor = std::make_unique<TNetMonitorThread>(gate, interval,
                                                      MonitorTiming{[this] { return clock.now(); }, 0ms});
    }
    void TearDown() override
    {
        gate.open();
        monitor.reset();
    }
    void runPass() { ASSERT_TRUE(gate.runPass()); }
    std::vector<uint32_t> indices() const
    {
        std::vector<uint32_t> result;
        for (int32_t at = 0; at < monitor->TrafficCount(); ++at) {
            result.push_back(monitor->TrafficAt(at).InterfaceIndex);
        }
        return result;
    }
    void addInterface(uint32_t index, uint8_t lastOctet, uint32_t in = 0, uint32_t out = 0)
    {
        fake.addInterface(interfaceRow(index, "if" + std::to_string(index), 100'000'000, in, out));
        fake.addAddress(addressRow(index, ipv4Address(10, 0, 0, lastOctet)));
    }

    FakeIpHelper fake;
    GatedIpHelper gate{fake};
    std::atomic<uint32_t> interval{0};
    ManualClock clock;
    std::unique_ptr<TNetMonitorThread> monitor;
};

TEST_F(NetMonitorTest, FirstPassAppendsTheInterfacesWithAnAddressInTableOrder)
{
    addInterface(5, 5);
    fake.addInterface(interfaceRow(3, "no address"));
    addInterface(1, 1);
    start();
    EXPECT_EQ(monitor->TrafficCount(), 0);  // before the first pass

    runPass();
    EXPECT_EQ(indices(), (std::vector<uint32_t>{5, 1}));
    const TTraffic first = monitor->TrafficAt(0);
    EXPECT_EQ(first.IPAddress, " 10.  0.  0.  5");
    EXPECT_EQ(first.Description, "if5");
    EXPECT_EQ(first.LastUpdate, clock.now());
}

TEST_F(NetMonitorTest, OnlyALoopbackGivesOneRecord)
{
    fake.addInterface(interfaceRow(1, "lo"));
    fake.addAddress(addressRow(1, ipv4Address(127, 0, 0, 1)));
    start();
    runPass();
    ASSERT_EQ(monitor->TrafficCount(), 1);
    EXPECT_EQ(monitor->TrafficAt(0).IPAddress, "127.  0.  0.  1");
}

TEST_F(NetMonitorTest, ALaterInterfaceIsAppendedAndEarlierPositionsKeep)
{
    addInterface(5, 5);
    addInterface(8, 8);
    start();
    runPass();
    // Lower index and first in the table, yet it goes to the end.
    fake.setInterfaces({interfaceRow(2, "vpn"), interfaceRow(5, "if5"), interfaceRow(8, "if8")});
    fake.addAddress(addressRow(2, ipv4Address(10, 8, 0, 2)));
    runPass();
    runPass();
    EXPECT_EQ(indices(), (std::vector<uint32_t>{5, 8, 2}));
}

TEST_F(NetMonitorTest, LaterPassesRenewCountersSpeedAndInterval)
{
    addInterface(7, 7, 1'000, 2'000);
    start();
    runPass();
    clock.advance(2s);
    // Beyond what 32 bits hold: 25 Gbit/s, 5 GB in two seconds.
    fake.setInterfaces({interfaceRow(7, "if7", 25'000'000'000, 5'000'001'000, 2'250'000)});
    runPass();

    const TTraffic record = monitor->TrafficAt(0);
    EXPECT_EQ(record.InDelta, 5'000'000'000u);
    EXPECT_EQ(record.OutDelta, 2'248'000u);
    EXPECT_EQ(record.Speed, 25'000'000'000u);
    EXPECT_DOUBLE_EQ(record.IntervalSeconds, 2.0);
    EXPECT_EQ(record.Description, "if7");  // identity stays
}

TEST_F(NetMonitorTest, AnAddressChangedAfterTheFirstPassKeepsTheOldText)
{
    addInterface(4, 4);
    start();
    runPass();
    fake.setAddresses({addressRow(4, ipv4Address(10, 9, 9, 9))});
    runPass();
    EXPECT_EQ(monitor->TrafficAt(0).IPAddress, " 10.  0.  0.  4");
    EXPECT_TRUE(monitor->TrafficAt(0).IsConnected);
}

TEST_F(NetMonitorTest, ARecordGoesNotConnectedAndBackWithItsInterfaceOrAddress)
{
    addInterface(1, 1, 100, 100);
    addInterface(2, 2, 100, 100);
    start();
    runPass();
    clock.advance(1s);
    fake.setCounters(2, 400, 500);
    runPass();
    ASSERT_EQ(monitor->TrafficAt(1).InDelta, 300u);

    fake.removeInterface(2);  // the interface leaves the table
    fake.removeAddresses(1);  // the other one loses its address
    clock.advance(1s);
    runPass();
    for (int32_t at : {0, 1}) {
        const TTraffic record = monitor->TrafficAt(at);
        EXPECT_FALSE(record.IsConnected) << at;
        EXPECT_EQ(record.StatusText(), "Not Connected") << at;
        EXPECT_EQ(record.InDelta + record.OutDelta, 0u) << at;
    }
    // Gone from the table: only what its position shows is kept.
    const TTraffic gone = monitor->TrafficAt(1);
    EXPECT_EQ(std::tie(gone.InterfaceIndex, gone.IPAddress, gone.Description),
              std::make_tuple(2u, std::string(" 10.  0.  0.  2"), std::string()));
    EXPECT_EQ(monitor->TrafficAt(0).Description, "if1");  // still in the table

    fake.addInterface(interfaceRow(2, "if2", 100'000'000, 1'400, 500));
    fake.addAddress(addressRow(1, ipv4Address(10, 0, 0, 1)));
    fake.setCounters(1, 700, 100);
    clock.advance(1s);
    runPass();
    EXPECT_EQ(indices(), (std::vector<uint32_t>{1, 2}));
    const TTraffic regained = monitor->TrafficAt(0);
    EXPECT_TRUE(regained.IsConnected);
    EXPECT_EQ(regained.InDelta, 600u);  // since the last pass that renewed it
    EXPECT_DOUBLE_EQ(regained.IntervalSeconds, 2.0);
    const TTraffic back = monitor->TrafficAt(1);
    EXPECT_EQ(back.StatusText(), "Connected");
    EXPECT_EQ(back.Description, "if2");
    EXPECT_EQ(back.InDelta, 0u);  // a new record at the old position
    EXPECT_EQ(back.LastInOctets, 1'400u);
}

TEST_F(NetMonitorTest, AnUnreadableOrChangingTableChangesNothing)
{
    addInterface(1, 1, 10, 10);
    start();
    runPass();

    fake.setCounters(1, 50, 50);
    fake.answerSizeQueriesWith(kSuccess);
    runPass();
    fake.answerSizeQueriesWith(kErrorInsufficientBuffer);
    fake.growInterfaceTableAfterNextSizeQuery(interfaceRow(9, "late"));
    fake.addAddress(addressRow(9, ipv4Address(10, 0, 0, 9)));
    runPass();
    TTraffic record = monitor->TrafficAt(0);
    EXPECT_TRUE(record.IsConnected);
    EXPECT_EQ(record.LastInOctets, 10u);
    EXPECT_EQ(monitor->TrafficCount(), 1);

    runPass();
    EXPECT_EQ(indices(), (std::vector<uint32_t>{1, 9}));
    EXPECT_EQ(monitor->TrafficAt(0).InDelta, 40u);
}

TEST_F(NetMonitorTest, AnErrorInAPassChangesNothing)
{
    addInterface(1, 1);
    addInterface(2, 2);
    fake.throwOnAddressLookup(0);
    start();
    runPass();
    EXPECT_EQ(monitor->TrafficCount(), 0);
    runPass();
    EXPECT_EQ(indices(), (std::vector<uint32_t>{1, 2}));

    fake.removeInterface(2);
    fake.throwOnAddressLookup(0);
    runPass();
    EXPECT_TRUE(monitor->TrafficAt(1).IsConnected);  // an unfinished pass judges nothing
}

TEST_F(NetMonitorTest, OnePassReadsEachTableOnceHoweverManyInterfaces)
{
    constexpr uint32_t kInterfaces = 800;
    for (uint32_t index = 1; index <= kInterfaces; ++index) {
        fake.addInterface(interfaceRow(index, "veth" + std::to_string(index), 10'000'000'000, index, 0));
        fake.addAddress(addressRow(
            index, ipv4Address(10, 9, static_cast<uint8_t>(index >> 8), static_cast<uint8_t>(index))));
    }
    start();
    runPass();
    runPass();
    EXPECT_EQ(fake.interfaceSizeQueries(), 2);
    EXPECT_EQ(fake.addressSizeQueries(), 2);
    ASSERT_EQ(monitor->TrafficCount(), static_cast<int32_t>(kInterfaces));
    EXPECT_EQ(monitor->TrafficAt(799).IPAddress, " 10.  9.  3. 32");
    EXPECT_EQ(monitor->TrafficAt(799).InterfaceIndex, 800u);
}

TEST_F(NetMonitorTest, DuplicateRowsInOneTableCountOnce)
{
    fake.setInterfaces({interfaceRow(1, "a", 8, 10, 10), interfaceRow(1, "b", 8, 10, 10)});
    fake.addAddress(addressRow(1, ipv4Address(10, 0, 0, 1)));
    start();
    runPass();
    clock.advance(1s);
    fake.setInterfaces({interfaceRow(1, "a", 8, 30, 10), interfaceRow(1, "b", 8, 30, 10)});
    runPass();
    ASSERT_EQ(monitor->TrafficCount(), 1);
    EXPECT_EQ(monitor->TrafficAt(0).InDelta, 20u);
    EXPECT_DOUBLE_EQ(monitor->TrafficAt(0).IntervalSeconds, 1.0);
}

TEST_F(NetMonitorTest, PositionsOutsideTheListAreRefused)
{
    addInterface(1, 1);
    start();
    runPass();
    EXPECT_THROW(monitor->TrafficAt(1), std::out_of_range);
    EXPECT_THROW(monitor->TrafficAt(-1), std::out_of_range);
}

TEST(NetMonitorOnRequest, RunsExactlyThePassesAskedFor)
{
    FakeIpHelper fake;
    fake.addInterface(interfaceRow(1, "lo", 8'000, 100, 0));
    fake.addAddress(addressRow(1, ipv4Address(127, 0, 0, 1)));
    const std::atomic<uint32_t> interval{0};
    ManualClock clock;
    TNetMonitorThread monitor(fake, interval,
                              MonitorTiming{[&] { return clock.now(); }, 0ms, /*paced=*/false});
    ASSERT_TRUE(monitor.refreshNow());
    EXPECT_EQ(fake.interfaceSizeQueries(), 1);  // none of its own at start
    clock.advance(1s);
    fake.setCounters(1, 600, 0);
    ASSERT_TRUE(monitor.refreshNow());
    EXPECT_EQ(fake.interfaceSizeQueries(), 2);
    const TTraffic record = monitor.TrafficAt(0);
    EXPECT_EQ(record.InDelta, 500u);
    EXPECT_DOUBLE_EQ(record.IntervalSeconds, 1.0);

    monitor.StopMonitoring();
    EXPECT_FALSE(monitor.refreshNow());
}

TEST(NetMonitorStop, IsPromptEvenWithASixtySecondInterval)
{
    FakeIpHelper fake;
    fake.addInterface(interfaceRow(1, "lo"));
    fake.addAddress(addressRow(1, ipv4Address(127, 0, 0, 1)));
    const std::atomic<uint32_t> interval{60'000};
    auto monitor = std::make_unique<TNetMonitorThread>(fake, interval);
    ASSERT_TRUE(waitUntil([&] { return monitor->TrafficCount() == 1; }));

    const auto asked = std::chrono::steady_clock::now();
    monitor->StopMonitoring();
    monitor.reset();  // waits for the run to end
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 10s);
    EXPECT_EQ(fake.interfaceSizeQueries(), 1);
}

TEST(NetMonitorPause, LastsTheIntervalButNeverLessThanTheFloor)
{
    const struct {
        uint32_t intervalMs;
        std::chrono::milliseconds floor;
    } cases[] = {{0, 60ms}, {60, 0ms}, {60, 10ms}};
    for (const auto& c : cases) {
        FakeIpHelper fake;
        const std::atomic<uint32_t> interval{c.intervalMs};
        const auto started = std::chrono::steady_clock::now();
        TNetMonitorThread monitor(fake, interval, MonitorTiming{.minimumPause = c.floor});
        ASSERT_TRUE(waitUntil([&] { return fake.interfaceSizeQueries() >= 3; }));
        // Two pauses lie between the first and the third pass.
        EXPECT_GE(std::chrono::steady_clock::now() - started, 120ms) << c.intervalMs;
    }
}

TEST(NetMonitorPause, WhileNoPanelShowsARecordLastsTheLongPauseAndEndsWhenOneDoes)
{
    FakeIpHelper fake;
    const std::atomic<uint32_t> interval{10};
    TNetMonitorThread monitor(fake, interval, MonitorTiming{.minimumPause = 0ms, .unshownPause = 1h});
    ASSERT_TRUE(waitUntil([&] { return fake.interfaceSizeQueries() >= 2; }));
    monitor.setRecordsShown(false);
    const int before = fake.interfaceSizeQueries();
    std::this_thread::sleep_for(100ms);  // ten refresh intervals
    const int unshown = fake.interfaceSizeQueries();
    EXPECT_LE(unshown, before + 1);  // at most the pass whose pause had begun

    monitor.setRecordsShown(true);
    EXPECT_TRUE(waitUntil([&] { return fake.interfaceSizeQueries() >= unshown + 2; }));
}

}  // namespace
}  // namespace pelmora
