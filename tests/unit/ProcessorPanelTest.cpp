#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/GaugeScale.h"
#include "core/RecordingControls.h"
#include "core/Rounding.h"
#include "platform/fakes/FakePerformanceData.h"
#include "platform/fakes/FakeProcessorIdentity.h"
#include "readings/ProcessorPanel.h"

namespace pelmora {
namespace {

constexpr int64_t kOneSecond100ns = 10000000;

class ProcessorPanelTest : public ::testing::Test {
protected:
    // A tick one second after the last in which processor i was busy for
    // loads[i] (a fraction); the total instance follows. The first call
    // takes a baseline tick first.
    void showLoads(const std::vector<double>& loads)
    {
        if (idle_.empty()) {
            idle_.assign(loads.size() + 1, 0);
            source.setSample(idle_, nowMs_);
            panel.update();
        }
        for (size_t i = 0; i < loads.size(); ++i)
            idle_[i] += std::llround((1.0 - loads[i]) * kOneSecond100ns);
        nowMs_ += 1000;
        source.setSample(idle_, nowMs_);
        panel.update();
    }

    struct Geometry {
        bool visible;
        int left;
        int width;
        bool operator==(const Geometry&) const = default;
    };
    std::vector<Geometry> cores()
    {
        std::vector<Geometry> result;
        for (Bar* bar : {c().Core1, c().Core2, c().Core3, c().Core4})
            result.push_back({bar->isVisible(), bar->left(), bar->width()});
        return result;
    }
    std::vector<double> corePositions()
    {
        return {c().Core1->position(), c().Core2->position(), c().Core3->position(), c().Core4->position()};
    }
    WidgetControls& c() { return widget.controls(); }

    RecordingWidget widget;
    FakePerformanceData source;
    CPUUsage usage{source};
    FakeProcessorIdentity identity{"Example CPU 3.00GHz", 2993};
    ProcessorPanel panel{widget.controls(), usage, identity};

private:
    std::vector<int64_t> idle_;
    int64_t nowMs_ = 0;
};

TEST_F(ProcessorPanelTest, NameAndClockAreShownOnceAsTheProcessorGivesThem)
{
    panel.showNameAndClock();
    EXPECT_EQ(c().lblCPU_ID->text(), "Example CPU 3.00GHz @ 2993 MHz");
    EXPECT_EQ(identity.clockMeasurements, 1);

    source.setSample({0, 0}, 0);
    panel.update();
    EXPECT_EQ(identity.clockMeasurements, 1);  // never measured in a tick

    FakeProcessorIdentity unknown;
    ProcessorPanel{c(), usage, unknown}.showNameAndClock();
    EXPECT_EQ(c().lblCPU_ID->text(), "Unknown @ 0 MHz");

    FakeProcessorIdentity padded{"       Intel(R) Pentium(R) 4 CPU 2.80GHz", 2800};
    ProcessorPanel{c(), usage, padded}.showNameAndClock();
    EXPECT_EQ(c().lblCPU_ID->text(), "       Intel(R) Pentium(R) 4 CPU 2.80GHz @ 2800 MHz");
}

struct LayoutCase {
    int processors;
    std::vector<bool> visible;
    std::vector<int> lefts;
    std::vector<int> widths;
};

TEST_F(ProcessorPanelTest, CoreBarsFollowTheProcessorCountFromTheDesignedCpuBar)
{
    const LayoutCase cases[] = {
        {1, {true, false, false, false}, {117, 165, 213, 261}, {188, 43, 43, 43}},
        {2, {true, true, false, false}, {117, 216, 213, 261}, {89, 89, 43, 43}},
        {3, {true, true, true, false}, {117, 179, 241, 261}, {57, 57, 57, 43}},
        {4, {true, true, true, true}, {117, 165, 213, 261}, {43, 43, 43, 43}},
        {8, {true, true, true, true}, {117, 165, 213, 261}, {43, 43, 43, 43}},
    };
    for (const LayoutCase& layout : cases) {
        RecordingWidget fresh;
        CPUUsage freshUsage{source};
        ProcessorPanel freshPanel{fresh.controls(), freshUsage, identity};
        source.setSample(std::vector<int64_t>(static_cast<size_t>(layout.processors) + 1, 0), 0);
        freshPanel.update();
        freshPanel.update();  // the same on every tick
        const WidgetControls& f = fresh.controls();
        const Bar* bars[] = {f.Core1, f.Core2, f.Core3, f.Core4};
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(bars[i]->isVisible(), layout.visible[i])
                << layout.processors << " processors, bar " << i;
            EXPECT_EQ(bars[i]->left(), layout.lefts[i]) << layout.processors << " processors, bar " << i;
            EXPECT_EQ(bars[i]->width(), layout.widths[i]) << layout.processors << " processors, bar " << i;
        }
    }
}

TEST_F(ProcessorPanelTest, CoreBarsAreLaidOutFromTheCpuBarsCurrentGeometry)
{
    c().CPU->setLeft(100);
    c().CPU->setWidth(200);
    source.setSample({0, 0, 0}, 0);
    panel.update();
    EXPECT_EQ(cores(),
              (std::vector<Geometry>{{true, 117, 95}, {true, 205, 95}, {false, 213, 43}, {false, 261, 43}}));
}

TEST_F(ProcessorPanelTest, OneProcessorsLoadIsTheOverallLoad)
{
    showLoads({0.25});
    EXPECT_DOUBLE_EQ(c().Core1->position(), 25);
    EXPECT_DOUBLE_EQ(c().CPU1->value(), 25);
    EXPECT_EQ(c().lblCPU->text(), "25%");
    EXPECT_DOUBLE_EQ(c().CPU->position(), 25);
}

TEST_F(ProcessorPanelTest, EightProcessorsShowFourBarsAndTheAverageOfAllEight)
{
    showLoads({0.5, 0.25, 0.75, 1.0, 0.0, 0.0, 0.0, 0.5});
    EXPECT_EQ(corePositions(), (std::vector<double>{50, 25, 75, 100}));
    EXPECT_DOUBLE_EQ(c().CPU1->value(), 37.5);
    EXPECT_EQ(c().lblCPU->text(), "38%");  // 37.5 to the even neighbour
    EXPECT_DOUBLE_EQ(c().CPU->position(), 38);
}

TEST_F(ProcessorPanelTest, ALoadAboveFullIsCappedOnItsBarAndInTheAverage)
{
    showLoads({1.07, 0.5});
    EXPECT_DOUBLE_EQ(c().Core1->position(), 100);
    EXPECT_DOUBLE_EQ(c().CPU1->value(), 75);
    EXPECT_EQ(c().lblCPU->text(), "75%");
}

struct RoundingCase {
    std::vector<double> loads;
    double gauge;
    const char* caption;
};

TEST_F(ProcessorPanelTest, OverallLoadIsRoundedHalfToEvenWhileTheGaugeTakesItUnrounded)
{
    const RoundingCase cases[] = {
        {{1.0, 0.99}, 99.5, "100%"},    {{0.99, 0.98}, 98.5, "98%"},   {{1.0, 0.97}, 98.5, "98%"},
        {{0.995, 0.995}, 99.5, "100%"}, {{0.925, 0.925}, 92.5, "92%"},
    };
    for (const RoundingCase& rounding : cases) {
        showLoads(rounding.loads);
        EXPECT_DOUBLE_EQ(c().CPU1->value(), rounding.gauge) << rounding.caption;
        EXPECT_EQ(c().lblCPU->text(), rounding.caption);
        EXPECT_DOUBLE_EQ(c().CPU->position(), std::stod(rounding.caption));
    }
}

TEST_F(ProcessorPanelTest, ALoadSlightlyBelowZeroLeavesTheGaugeAndShowsZero)
{
    showLoads({0.3});
    ASSERT_DOUBLE_EQ(c().CPU1->value(), 30);
    showLoads({-0.003});
    EXPECT_DOUBLE_EQ(c().CPU1->value(), 30);
    EXPECT_EQ(c().lblCPU->text(), "0%");
    EXPECT_DOUBLE_EQ(c().CPU->position(), 0);
}

TEST_F(ProcessorPanelTest, TheFirstTickShowsNoLoadRatherThanTheZeroBaseline)
{
    source.setSample({kOneSecond100ns, kOneSecond100ns, kOneSecond100ns}, 0);
    panel.update();
    EXPECT_EQ(corePositions(), (std::vector<double>{0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(c().CPU1->value(), 0);
    EXPECT_EQ(c().lblCPU->text(), "0%");
}

TEST_F(ProcessorPanelTest, TwoTicksOfTheSameMillisecondShowNoLoad)
{
    showLoads({0.5, 0.5});
    source.setSample({0, 0, 0}, 1000);
    panel.update();
    EXPECT_EQ(c().lblCPU->text(), "0%");
    EXPECT_DOUBLE_EQ(c().Core1->position(), 0);
}

TEST_F(ProcessorPanelTest, WithoutAnyProcessorInstanceTheCoreBarsHideAndTheLoadReadsZero)
{
    showLoads({0.5});
    source.setSample({0}, 2000);  // only the total instance
    CPUUsage onlyTotal{source};
    ProcessorPanel empty{c(), onlyTotal, identity};
    empty.update();
    EXPECT_EQ(cores(), (std::vector<Geometry>{
                           {false, 117, 188}, {false, 165, 43}, {false, 213, 43}, {false, 261, 43}}));
    EXPECT_DOUBLE_EQ(c().CPU1->value(), 0);
    EXPECT_EQ(c().lblCPU->text(), "0%");
    EXPECT_DOUBLE_EQ(c().CPU->position(), 0);
}

TEST_F(ProcessorPanelTest, AFailingSampleLeavesEveryControlAsItWas)
{
    showLoads({0.5, 0.25});
    source.failWith(2);
    EXPECT_THROW(panel.update(), std::runtime_error);
    EXPECT_EQ(corePositions(), (std::vector<double>{50, 25, 0, 0}));
    EXPECT_EQ(c().lblCPU->text(), "38%");
}

TEST(RoundHalfEven, TakesTheNearestIntegerAndTheEvenOneForAHalf)
{
    const std::pair<double, int64_t> cases[] = {
        {42.5, 42},  {43.5, 44}, {99.5, 100}, {98.5, 98}, {0.5, 0},   {1.5, 2},   {2.4999, 2},
        {2.5001, 3}, {-0.3, 0},  {-0.5, 0},   {-1.5, -2}, {-2.5, -2}, {-0.7, -1}, {0, 0},
    };
    for (const auto& [value, rounded] : cases) EXPECT_EQ(roundHalfEven(value), rounded) << value;
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
    EXPECT_EQ(roundHalfEven(1e300), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(roundHalfEven(-1e300), std::numeric_limits<int64_t>::min());
}

TEST(GaugeReadout, IsWrittenAsPrintfWritesItToTheHundredth)
{
    // Halves and the doubles just beside them (1.005 is 1.00499..., 0.285 is 0.28499...),
    // the smallest double, and values beyond any reading.
    std::vector<double> values = {
        0.0,          -0.0,   0.005,  0.015,        0.125,
        0.375,        2.675,  9.995,  99.995,       99.999,
        100.0,        1e-9,   -1.5,   1.005,        0.285,
        1.115,        5e-324, 1e-300, 0.0049999999, 0.0050000001,
        1e14 + 0.125, 1e15,   1e20,   123456.789,   std::numeric_limits<double>::infinity(),
        std::nan("")};
    for (int i = 0; i <= 200000; ++i) values.push_back(i / 2000.0);
    for (const double value : values) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%06.2f", value);
        ASSERT_EQ(gauge::formatReadout(value), expected) << value;
    }
}

}  // namespace
}  // namespace pelmora
