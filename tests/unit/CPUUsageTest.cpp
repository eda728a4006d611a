#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

#include "platform/ErrorCodes.h"
#include "platform/fakes/FakePerformanceData.h"
#include "readings/CPUUsage.h"

namespace pelmora {
namespace {

constexpr int64_t kOneSecond100ns = 10000000;

template <typename Call>
std::string failureOf(Call&& call)
{
    try {
        call();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no failure";
}

class CPUUsageTest : public ::testing::Test {
protected:
    FakePerformanceData source;
    CPUUsage usage{source};
};

TEST_F(CPUUsageTest, FirstSampleReadsZeroForEverySlotInsteadOfTheZeroBaseline)
{
    source.setSample({5 * kOneSecond100ns, 7 * kOneSecond100ns, 6 * kOneSecond100ns}, 0);
    usage.SampleCPUCounters();
    ASSERT_EQ(usage.CPUSlotCount(), 3);
    for (int32_t slot = 0; slot < 3; ++slot) EXPECT_EQ(usage.CPULoad(slot), 0.0) << slot;
}

TEST_F(CPUUsageTest, SlotCountAndLoadTakeAFirstSampleWhenNoneWasTaken)
{
    source.setSample({0, 0}, 0);
    EXPECT_EQ(usage.CPUSlotCount(), 2);  // a single processor and the total
    EXPECT_EQ(source.sizesAsked().size(), 1u);

    CPUUsage fresh{source};
    EXPECT_EQ(fresh.CPULoad(1), 0.0);
    EXPECT_EQ(source.sizesAsked().size(), 2u);
    EXPECT_EQ(fresh.CPULoad(0), 0.0);  // no further sample
    EXPECT_EQ(source.sizesAsked().size(), 2u);
}

TEST_F(CPUUsageTest, LoadIsOneLessIdleTimeOverElapsedTime)
{
    source.setSample({100, 200, 300, 400}, 0);
    usage.SampleCPUCounters();
    // One second later: idle for 3/4, 1/4, all of it, and more than all of it.
    source.setSample({100 + kOneSecond100ns * 3 / 4, 200 + kOneSecond100ns / 4, 300 + kOneSecond100ns,
                      400 + kOneSecond100ns * 5 / 4},
                     1000);
    usage.SampleCPUCounters();
    EXPECT_DOUBLE_EQ(usage.CPULoad(0), 0.25);
    EXPECT_DOUBLE_EQ(usage.CPULoad(1), 0.75);
    EXPECT_DOUBLE_EQ(usage.CPULoad(2), 0.0);
    EXPECT_DOUBLE_EQ(usage.CPULoad(3), -0.25);  // not clamped
}

TEST_F(CPUUsageTest, LoadComparesOnlyTheTwoLatestSamples)
{
    source.setSample({0, 0}, 0);
    usage.SampleCPUCounters();
    source.setSample({kOneSecond100ns, kOneSecond100ns}, 1000);
    usage.SampleCPUCounters();
    source.setSample({kOneSecond100ns + kOneSecond100ns / 2, kOneSecond100ns}, 2000);
    usage.SampleCPUCounters();
    EXPECT_DOUBLE_EQ(usage.CPULoad(0), 0.5);
    EXPECT_DOUBLE_EQ(usage.CPULoad(1), 1.0);
}

TEST_F(CPUUsageTest, TwoSamplesOfTheSameMillisecondReadZero)
{
    source.setSample({0, 0}, 0);
    usage.SampleCPUCounters();
    source.setSample({kOneSecond100ns, 5}, 1000);
    usage.SampleCPUCounters();
    source.setSample({kOneSecond100ns + 7, 9}, 1000);
    usage.SampleCPUCounters();
    EXPECT_EQ(usage.CPULoad(0), 0.0);
    EXPECT_EQ(usage.CPULoad(1), 0.0);
}

TEST_F(CPUUsageTest, AClockSetBackBetweenSamplesReadsZeroRatherThanFullLoad)
{
    source.setSample({0, 0}, 60000);
    usage.SampleCPUCounters();
    source.setSample({kOneSecond100ns / 2, kOneSecond100ns / 2}, 1000);
    usage.SampleCPUCounters();
    EXPECT_EQ(usage.CPULoad(0), 0.0);
    source.setSample({kOneSecond100ns, kOneSecond100ns}, 2000);
    usage.SampleCPUCounters();
    EXPECT_DOUBLE_EQ(usage.CPULoad(0), 0.5);
}

TEST_F(CPUUsageTest, CountersAtTheEdgesOfSixtyFourBitsGiveAFiniteLoad)
{
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    source.setSample({kMax, 0}, 0);
    usage.SampleCPUCounters();
    source.setSample({std::numeric_limits<int64_t>::min(), kMax}, 1);
    usage.SampleCPUCounters();
    EXPECT_DOUBLE_EQ(usage.CPULoad(0), 1.0 - 1.0 / 10000);  // the counter wrapped by one
    EXPECT_TRUE(std::isfinite(usage.CPULoad(1)));
}

TEST_F(CPUUsageTest, SlotCountStaysWhatTheFirstSampleFound)
{
    source.setSample({0, 0, 0}, 0);
    usage.SampleCPUCounters();
    // Two processors more: the first three instances are still read.
    source.setSample({kOneSecond100ns / 2, kOneSecond100ns, 0, 0, 0}, 1000);
    usage.SampleCPUCounters();
    EXPECT_EQ(usage.CPUSlotCount(), 3);
    EXPECT_DOUBLE_EQ(usage.CPULoad(0), 0.5);
    EXPECT_DOUBLE_EQ(usage.CPULoad(1), 0.0);
    EXPECT_DOUBLE_EQ(usage.CPULoad(2), 1.0);
    EXPECT_EQ(failureOf([&] { usage.CPULoad(3); }), kCpuIndexOutOfBounds);
}

TEST_F(CPUUsageTest, AnAnswerWithFewerInstancesThanSlotsFailsAndKeepsTheLoads)
{
    source.setSample({0, 0, 0}, 0);
    usage.SampleCPUCounters();
    source.setSample({kOneSecond100ns / 4, kOneSecond100ns / 2, 0}, 1000);
    usage.SampleCPUCounters();
    source.setSample({0, 0}, 2000);  // a processor went away
    EXPECT_EQ(failureOf([&] { usage.SampleCPUCounters(); }), kCpuIndexOutOfBounds);
    EXPECT_DOUBLE_EQ(usage.CPULoad(0), 0.75);
    EXPECT_DOUBLE_EQ(usage.CPULoad(1), 0.5);
}

TEST_F(CPUUsageTest, SlotIndexOutsideTheSlotsFails)
{
    source.setSample({0, 0, 0}, 0);
    for (int32_t slot : {-1, 3, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()})
        EXPECT_EQ(failureOf([&] { usage.CPULoad(slot); }), kCpuIndexOutOfBounds) << slot;
}

TEST_F(CPUUsageTest, BufferGrowsByFourKilobytesWhileTheAnswerIsMoreDataAndNeverShrinks)
{
    source.setSample({0, 0}, 0);
    source.requireBufferBytes(8192 + 3 * 4096 + 1);
    usage.SampleCPUCounters();
    EXPECT_EQ(source.sizesAsked(), (std::vector<uint32_t>{8192, 12288, 16384, 20480, 24576}));
    EXPECT_EQ(usage.sampleBufferBytes(), 24576u);

    source.requireBufferBytes(0);
    source.setSample({0, 0}, 1000);
    usage.SampleCPUCounters();
    EXPECT_EQ(source.sizesAsked().back(), 24576u);
    EXPECT_EQ(usage.CPUSlotCount(), 2);
}

TEST_F(CPUUsageTest, ABlockLargerThanTheFirstBufferIsReadWhole)
{
    std::vector<int64_t> idle(301, 0);
    source.setSample(idle, 0);
    usage.SampleCPUCounters();
    idle[299] = kOneSecond100ns / 4;
    source.setSample(idle, 1000);
    usage.SampleCPUCounters();
    EXPECT_GT(usage.sampleBufferBytes(), kInitialSampleBufferBytes);
    EXPECT_EQ(usage.CPUSlotCount(), 301);
    EXPECT_DOUBLE_EQ(usage.CPULoad(299), 0.75);
}

TEST_F(CPUUsageTest, ASourceThatAlwaysWantsMoreIsGivenUpOn)
{
    source.setSample({0, 0}, 0);
    source.requireBufferBytes(std::numeric_limits<uint32_t>::max());
    EXPECT_EQ(failureOf([&] { usage.SampleCPUCounters(); }), kProcessorObjectNotFound);
    EXPECT_LE(usage.sampleBufferBytes(), kMaxSampleBufferBytes);
}

TEST_F(CPUUsageTest, AFailedQueryIsNotReadAsAFreshSample)
{
    source.setSample({0, 0}, 0);
    usage.SampleCPUCounters();
    source.setSample({kOneSecond100ns / 2, kOneSecond100ns / 2}, 1000);
    usage.SampleCPUCounters();
    source.failWith(2);
    EXPECT_EQ(failureOf([&] { usage.SampleCPUCounters(); }), kProcessorObjectNotFound);
    EXPECT_DOUBLE_EQ(usage.CPULoad(0), 0.5);  // not the 0 of a repeated snapshot
}

// A malformed block: the field at `offset` of a valid two-processor block
// is overwritten; the sample must fail with the message and read nothing
// outside the buffer (sanitizer builds check the latter).
struct Malformation {
    const char* name;
    size_t offset;
    uint32_t value;
    const char* message;
    size_t bytes = 4;
};

// Offsets in the block of two processors and the total.
constexpr size_t kObject = sizeof(PERF_DATA_BLOCK);
constexpr size_t kCounter = kObject + sizeof(PERF_OBJECT_TYPE);
constexpr size_t kInstance = kCounter + sizeof(PERF_COUNTER_DEFINITION);
constexpr size_t kCounterBlock = kInstance + sizeof(PERF_INSTANCE_DEFINITION) + 8;  // name "0" padded
constexpr uint32_t kHuge = 0xfffffff0;

const Malformation kMalformations[] = {
    {"block header length past the end", offsetof(PERF_DATA_BLOCK, HeaderLength), kHuge,
     kProcessorObjectNotFound},
    {"no objects", offsetof(PERF_DATA_BLOCK, NumObjectTypes), 0, kProcessorObjectNotFound},
    {"other object", kObject + offsetof(PERF_OBJECT_TYPE, ObjectNameTitleIndex), 230,
     kProcessorObjectNotFound},
    {"object length zero", kObject + offsetof(PERF_OBJECT_TYPE, TotalByteLength), 0,
     kProcessorObjectNotFound},
    {"object length past the end", kObject + offsetof(PERF_OBJECT_TYPE, TotalByteLength), kHuge,
     kProcessorObjectNotFound},
    {"object too short for its counters", kObject + offsetof(PERF_OBJECT_TYPE, TotalByteLength), 100,
     kProcessorCounterNotFound},
    {"instances past the end", kObject + offsetof(PERF_OBJECT_TYPE, DefinitionLength), kHuge,
     kProcessorObjectNotFound},
    {"no instances after the first sample", kObject + offsetof(PERF_OBJECT_TYPE, NumInstances), 0xffffffff,
     kCpuIndexOutOfBounds},
    {"no counters", kObject + offsetof(PERF_OBJECT_TYPE, NumCounters), 0, kProcessorCounterNotFound},
    {"counters past the end", kObject + offsetof(PERF_OBJECT_TYPE, HeaderLength), kHuge,
     kProcessorCounterNotFound},
    {"other counter", kCounter + offsetof(PERF_COUNTER_DEFINITION, CounterNameTitleIndex), 7,
     kProcessorCounterNotFound},
    {"counter value past its block", kCounter + offsetof(PERF_COUNTER_DEFINITION, CounterOffset), kHuge,
     kProcessorCounterNotFound},
    {"counter value overlapping the block end", kCounter + offsetof(PERF_COUNTER_DEFINITION, CounterOffset),
     12, kProcessorCounterNotFound},
    {"instance length zero", kInstance + offsetof(PERF_INSTANCE_DEFINITION, ByteLength), 0,
     kProcessorObjectNotFound},
    {"instance length past the end", kInstance + offsetof(PERF_INSTANCE_DEFINITION, ByteLength), kHuge,
     kProcessorObjectNotFound},
    {"counter block length zero", kCounterBlock, 0, kProcessorObjectNotFound},
    {"counter block length past the end", kCounterBlock, kHuge, kProcessorObjectNotFound},
    {"month thirteen", offsetof(PERF_DATA_BLOCK, SystemTime) + offsetof(SYSTEMTIME, wMonth), 13,
     kProcessorObjectNotFound, 2},
    {"thirtieth of February", offsetof(PERF_DATA_BLOCK, SystemTime) + offsetof(SYSTEMTIME, wMonth), 2,
     kProcessorObjectNotFound, 2},
};

class MalformedBlockTest : public ::testing::TestWithParam<Malformation> {};

void poke(std::vector<uint8_t>& block, size_t offset, uint32_t value, size_t bytes = 4)
{
    ASSERT_LE(offset + bytes, block.size());
    std::memcpy(block.data() + offset, &value, bytes);  // little-endian: the low bytes
}

TEST_P(MalformedBlockTest, FailsWithItsMessageAndKeepsTheLastLoads)
{
    const Malformation& bad = GetParam();
    FakePerformanceData source;
    CPUUsage usage{source};
    source.setSample({0, 0, 0}, 0);
    usage.SampleCPUCounters();
    source.setSample({kOneSecond100ns / 4, kOneSecond100ns / 2, kOneSecond100ns}, 1000);
    usage.SampleCPUCounters();

    // 30 May 2024, so a month of 2 makes a 30 February.
    source.setSample({0, 0, 0}, FakePerformanceData::timeAt(29LL * 24 * 3600 * 1000));
    poke(source.block(), bad.offset, bad.value, bad.bytes);
    // Fill the buffer to its end, so a read past the block is a read past the buffer.
    source.block().resize(usage.sampleBufferBytes(), 0xee);
    EXPECT_EQ(failureOf([&] { usage.SampleCPUCounters(); }), bad.message);
    EXPECT_DOUBLE_EQ(usage.CPULoad(0), 0.75);
    EXPECT_DOUBLE_EQ(usage.CPULoad(1), 0.5);
    EXPECT_EQ(usage.CPUSlotCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(Blocks, MalformedBlockTest, ::testing::ValuesIn(kMalformations),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST_F(CPUUsageTest, TheObjectWalkStopsAtTheBufferEndWhateverTheObjectCount)
{
    source.setSample({0, 0}, 0);
    poke(source.block(), offsetof(PERF_DATA_BLOCK, NumObjectTypes), 0xffffffff);
    poke(source.block(), kObject + offsetof(PERF_OBJECT_TYPE, ObjectNameTitleIndex), 230);
    source.block().resize(kInitialSampleBufferBytes, 0);  // zero-length objects after the first
    EXPECT_EQ(failureOf([&] { usage.SampleCPUCounters(); }), kProcessorObjectNotFound);
}

TEST_F(CPUUsageTest, TheProcessorObjectIsFoundBehindOtherObjects)
{
    // An object of another kind first: the processor block's object copied and renamed.
    source.setSample({0, kOneSecond100ns}, 0);
    std::vector<uint8_t> block = source.block();
    std::vector<uint8_t> other(block.begin() + kObject, block.end());
    poke(other, offsetof(PERF_OBJECT_TYPE, ObjectNameTitleIndex), 230);
    block.insert(block.begin() + kObject, other.begin(), other.end());
    poke(block, offsetof(PERF_DATA_BLOCK, NumObjectTypes), 2);
    source.block() = block;
    EXPECT_EQ(usage.CPUSlotCount(), 2);
}

TEST_F(CPUUsageTest, AFirstSampleWhoseInstanceCountDoesNotFitLeavesTheSlotCountOpen)
{
    // More instances than the object could hold would allocate slots for garbage.
    for (uint32_t instances : {0x7fffffffu, 4u, 0xffffffffu /* none */}) {
        CPUUsage fresh{source};
        source.setSample({0, 0, 0}, 0);
        poke(source.block(), kObject + offsetof(PERF_OBJECT_TYPE, NumInstances), instances);
        EXPECT_EQ(failureOf([&] { fresh.SampleCPUCounters(); }), kProcessorObjectNotFound) << instances;
        source.setSample({0, 0}, 0);
        EXPECT_EQ(fresh.CPUSlotCount(), 2) << instances;
    }
}

TEST_F(CPUUsageTest, AFirstSampleWithoutTheCounterAlreadyFixesTheSlotCount)
{
    source.setSample({0, 0, 0}, 0);
    poke(source.block(), kCounter + offsetof(PERF_COUNTER_DEFINITION, CounterNameTitleIndex), 7);
    EXPECT_EQ(failureOf([&] { usage.SampleCPUCounters(); }), kProcessorCounterNotFound);
    const size_t queries = source.sizesAsked().size();
    EXPECT_EQ(usage.CPUSlotCount(), 3);
    EXPECT_EQ(usage.CPULoad(0), 0.0);
    EXPECT_EQ(source.sizesAsked().size(), queries);  // no new sample taken
}

TEST(CPUUsageCorruption, RandomlyCorruptedBlocksFailCleanlyOrReadInBounds)
{
    // Sanitizer builds turn any read outside the buffer into a failure here.
    std::mt19937 random(238);
    const std::vector<uint8_t> valid =
        FakePerformanceData::processorBlock({1, 2, 3, 4, 5}, FakePerformanceData::timeAt(0));
    for (int round = 0; round < 3000; ++round) {
        FakePerformanceData source;
        CPUUsage usage{source};
        source.block() = valid;
        if (round % 2 == 0) usage.SampleCPUCounters();  // half of them with the slot count fixed
        std::vector<uint8_t>& block = source.block();
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const size_t at = random() % (block.size() - 3);
            const uint32_t value =
                random() % 3 == 0 ? static_cast<uint32_t>(random()) : 0xffffffffu >> (random() % 32);
            std::memcpy(block.data() + at, &value, sizeof value);
        }
        block.resize(usage.sampleBufferBytes(), static_cast<uint8_t>(random()));
        try {
            usage.SampleCPUCounters();
            for (int32_t slot = 0; slot < usage.CPUSlotCount(); ++slot) usage.CPULoad(slot);
        } catch (const std::runtime_error&) {
        }
    }
}

TEST_F(CPUUsageTest, AnEmptyAnswerFailsOnTheFirstSample)
{
    EXPECT_EQ(failureOf([&] { usage.SampleCPUCounters(); }), kProcessorObjectNotFound);
    EXPECT_EQ(failureOf([&] { usage.CPUSlotCount(); }), kProcessorObjectNotFound);
}

}  // namespace
}  // namespace pelmora
