// The network section of the widget: rows by NrNetwork and position, the
// adapter text and the load.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/RecordingControls.h"
#include "readings/NetworkPanel.h"

namespace pelmora {
namespace {

class ListOfRecords : public TrafficList {
public:
    int32_t TrafficCount() const override { return static_cast<int32_t>(records.size()); }
    TTraffic TrafficAt(int32_t position) const override { return records.at(static_cast<size_t>(position)); }
    std::vector<TTraffic> records;
};

TTraffic record(const std::string& address, uint64_t speed, uint64_t inDelta, uint64_t outDelta,
                double seconds = 1.0)
{
    TTraffic traffic;
    traffic.IPAddress = address;
    traffic.Speed = speed;
    traffic.InDelta = inDelta;
    traffic.OutDelta = outDelta;
    traffic.IntervalSeconds = seconds;
    return traffic;
}

class NetworkPanelTest : public ::testing::Test {
protected:
    NetworkPanelTest()
    {
        list.records = {record("192.168.  0.  7", 100'000'000, 1'000'000, 250'000),
                        record(" 10.  0.  0.  1", 8'000'000, 500'000, 0)};
    }
    struct RowState {
        std::string adapter, percent;
        double position;
        bool adapterShown, barShown, percentShown;
        bool operator==(const RowState&) const = default;
    };
    static RowState state(const Label* adapter, const Bar* load, const Label* percent)
    {
        return {adapter->text(),      percent->text(),   load->position(),
                adapter->isVisible(), load->isVisible(), percent->isVisible()};
    }
    RowState first() const { return state(c.lblAdapter1, c.LAN1, c.lblA1); }
    RowState second() const { return state(c.lblAdapter2, c.LAN2, c.lblA2); }

    RecordingWidget widget;
    WidgetControls& c = widget.controls();
    ListOfRecords list;
    NetworkPanel panel{c, list};
};

TEST_F(NetworkPanelTest, NoAdapterToMonitorHidesTheRest)
{
    panel.update(0, 0, 1);
    EXPECT_EQ(first(), (RowState{"No adapter to monitor", "0%", 0, true, false, false}));
    EXPECT_EQ(second(), (RowState{"192.168.10.1", "0%", 0, false, false, false}));
}

TEST_F(NetworkPanelTest, OneAdapterShowsTheFirstRowAndHidesTheSecond)
{
    panel.update(1, 0, 1);
    EXPECT_EQ(first(), (RowState{"192.168.  0.  7 (Connected)", "10%", 10, true, true, true}));
    EXPECT_EQ(second(), (RowState{"192.168.10.1", "0%", 0, false, false, false}));
}

TEST_F(NetworkPanelTest, TwoAdaptersShowBothRows)
{
    panel.update(0, 0, 1);
    panel.update(2, 1, 0);
    EXPECT_EQ(first(), (RowState{" 10.  0.  0.  1 (Connected)", "50%", 50, true, true, true}));
    EXPECT_EQ(second(), (RowState{"192.168.  0.  7 (Connected)", "10%", 10, true, true, true}));
}

TEST_F(NetworkPanelTest, AnyOtherCountUpdatesTheFirstRowOnly)
{
    for (const int32_t nrNetwork : {3, -1, 1000}) {
        panel.update(1, 0, 0);  // hides the second row
        panel.update(nrNetwork, 1, 0);
        EXPECT_EQ(first().adapter, " 10.  0.  0.  1 (Connected)") << nrNetwork;
        EXPECT_EQ(second(), (RowState{"192.168.10.1", "0%", 0, false, false, false})) << nrNetwork;
    }
}

TEST_F(NetworkPanelTest, PositionsOutsideTheListLeaveTheRowAsItWas)
{
    for (const int32_t outside : {-1, 2, 99, INT32_MIN, INT32_MAX}) {
        panel.update(2, outside, outside);
        EXPECT_EQ(first(), (RowState{"192.168.0.1", "0%", 0, true, true, true})) << outside;
        EXPECT_EQ(second(), (RowState{"192.168.10.1", "0%", 0, true, true, true})) << outside;
    }
    panel.update(2, 0, 1);
    const RowState shown = second();
    panel.update(2, 0, 5);
    EXPECT_EQ(second(), shown);
}

TEST_F(NetworkPanelTest, TheSamePositionMayFillBothRows)
{
    panel.update(2, 1, 1);
    EXPECT_EQ(first(), second());
    EXPECT_EQ(first().percent, "50%");
}

TEST_F(NetworkPanelTest, RowsComeBackWhenTheCountGoesFromTwoToOneAndBack)
{
    panel.update(2, 0, 1);
    panel.update(1, 0, 1);
    EXPECT_FALSE(second().adapterShown);
    panel.update(2, 0, 1);
    EXPECT_EQ(second(), (RowState{" 10.  0.  0.  1 (Connected)", "50%", 50, true, true, true}));
}

TEST_F(NetworkPanelTest, AnEmptyListKeepsTheInitialCaptions)
{
    list.records.clear();
    panel.update(1, 0, -1);
    EXPECT_EQ(first(), (RowState{"192.168.0.1", "0%", 0, true, true, true}));
    EXPECT_FALSE(second().adapterShown);
}

TEST_F(NetworkPanelTest, ShowsTheStatusBesideTheAddress)
{
    list.records[0].IsConnected = false;
    panel.update(1, 0, -1);
    EXPECT_EQ(first().adapter, "192.168.  0.  7 (Not Connected)");
}

// A bar still gliding: it reads back where it stood before the last set.
class GlidingBar : public RecordingBar {
public:
    GlidingBar() : RecordingBar(389, 172) {}
    void setPosition(double position) override
    {
        shown_ = target_;
        target_ = std::clamp(position, 0.0, 100.0);
    }
    double position() const override { return shown_; }

private:
    double shown_ = 0, target_ = 0;
};

TEST_F(NetworkPanelTest, ThePercentageShowsTheNewLoadWhileTheBarGlides)
{
    GlidingBar gliding;
    c.LAN1 = &gliding;
    NetworkPanel glidingPanel(c, list);
    glidingPanel.update(1, 0, -1);
    EXPECT_EQ(first().percent, "10%");
    EXPECT_EQ(gliding.position(), 0);
    list.records[0].InDelta = 20'000'000;  // above the capacity
    glidingPanel.update(1, 0, -1);
    EXPECT_EQ(first().percent, "100%");
    EXPECT_EQ(gliding.position(), 10);
}

TEST(NetworkLoad, IsOctetsPerSecondAgainstTheNominalSpeed)
{
    const struct {
        const char* name;
        TTraffic traffic;
        double load;
    } cases[] = {
        {"100 Mbit/s, 1,250,000 octets in one second", record("", 100'000'000, 1'000'000, 250'000, 1), 10},
        {"the same in two seconds", record("", 100'000'000, 1'000'000, 250'000, 2), 5},
        {"10,000 Mbit/s, 2.5e9 octets in ten seconds (2 Gbit/s)",
         record("", 10'000'000'000, 2'000'000'000, 500'000'000, 10), 20},
        {"100 Gbit/s, 4 s at 6.25e9 octets a second",
         record("", 100'000'000'000, 20'000'000'000, 5'000'000'000, 4), 50},
        {"just created: no interval yet", record("", 100'000'000, 0, 0, 0), 0},
        {"deltas but no interval", record("", 100'000'000, 5'000, 5'000, 0), 0},
        {"speed unknown", record("", 0, 1'000'000, 0, 1), 0},
        {"above the capacity", record("", 8'000'000, 4'000'000, 0, 1), 400},
        {"largest deltas on the slowest link", record("", 1, UINT32_MAX, UINT32_MAX, 1), 6'871'947'672'000.0},
        {"half goes down to even", record("", 8'000'000, 25'000, 0, 1), 2},
        {"half goes up to even", record("", 8'000'000, 35'000, 0, 1), 4},
        {"a half below one", record("", 8'000'000, 5'000, 0, 1), 0},
        {"just above a half", record("", 8'000'000, 5'001, 0, 1), 1},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(networkLoadPercent(c.traffic), c.load) << c.name;
}

TEST(NetworkPanelRow, ClampsTheTextOfAnOverloadedLink)
{
    RecordingWidget widget;
    ListOfRecords list;
    list.records = {record("a", 1, UINT32_MAX, UINT32_MAX, 1)};
    NetworkPanel(widget.controls(), list).update(1, 0, -1);
    EXPECT_EQ(widget.controls().lblA1->text(), "100%");
    EXPECT_EQ(widget.controls().LAN1->position(), 100);
}

}  // namespace
}  // namespace pelmora
