#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/ErrorCodes.h"
#include "platform/SystemTimeConversion.h"
#include "platform/linux/LinuxPerformanceData.h"
#include "platform/linux/ProcStatCpus.h"
#include "readings/CPUUsage.h"

namespace pelmora {
namespace {

using namespace std::chrono;

std::string fixture(const std::string& name)
{
    return std::string(PELMORA_FIXTURES) + "/proc/" + name;
}

system_clock::time_point leapDayEvening()
{
    return sys_days{year{2024} / February / 29} + hours{23} + minutes{59} + seconds{59} +
           microseconds{987654};
}

template <typename T>
T readAt(const std::vector<uint8_t>& block, size_t offset)
{
    T value{};
    EXPECT_LE(offset + sizeof value, block.size());
    if (offset + sizeof value <= block.size()) std::memcpy(&value, block.data() + offset, sizeof value);
    return value;
}

struct Instance {
    std::string name;
    int64_t idleTime100ns;
    bool operator==(const Instance&) const = default;
};

// The instances of the block's only object, trusting the layout.
std::vector<Instance> instancesOf(const std::vector<uint8_t>& block)
{
    const auto header = readAt<PERF_DATA_BLOCK>(block, 0);
    if (header.NumObjectTypes != 1) return {};
    const size_t objectAt = header.HeaderLength;
    const auto object = readAt<PERF_OBJECT_TYPE>(block, objectAt);
    EXPECT_EQ(object.ObjectNameTitleIndex, 238u);
    EXPECT_EQ(object.TotalByteLength, block.size() - objectAt);
    const auto counter = readAt<PERF_COUNTER_DEFINITION>(block, objectAt + object.HeaderLength);
    EXPECT_EQ(counter.CounterNameTitleIndex, 6u);
    EXPECT_EQ(counter.CounterSize, 8u);

    std::vector<Instance> instances;
    size_t at = objectAt + object.DefinitionLength;
    for (int32_t i = 0; i < object.NumInstances; ++i) {
        const auto instance = readAt<PERF_INSTANCE_DEFINITION>(block, at);
        std::string name;
        for (size_t c = 0; c + 1 < instance.NameLength / 2; ++c)
            name += static_cast<char>(readAt<char16_t>(block, at + instance.NameOffset + c * 2));
        EXPECT_EQ(readAt<char16_t>(block, at + instance.NameOffset + instance.NameLength - 2), u'\0');
        const size_t counters = at + instance.ByteLength;
        instances.push_back({name, readAt<int64_t>(block, counters + counter.CounterOffset)});
        at = counters + readAt<PERF_COUNTER_BLOCK>(block, counters).ByteLength;
    }
    EXPECT_EQ(at, block.size());
    return instances;
}

std::vector<uint8_t> queryBlock(LinuxPerformanceData& data, const char* valueName = "238")
{
    uint32_t size = 0;
    EXPECT_EQ(data.query(valueName, nullptr, &size), kErrorMoreData);
    std::vector<uint8_t> block(size);
    EXPECT_EQ(data.query(valueName, block.data(), &size), kSuccess);
    EXPECT_EQ(size, block.size());
    return block;
}

constexpr int64_t kTicksTo100ns = 100000;  // USER_HZ 100

struct StatCase {
    const char* fixture;
    size_t instances;
    std::vector<Instance> some;  // spot checks
};

TEST(LinuxPerformanceData, BuildsOneInstancePerProcessorLineThenTheTotal)
{
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    const StatCase cases[] = {
        {"stat-1cpu", 2, {{"0", 4147501 * kTicksTo100ns}, {"_Total", 4147501 * kTicksTo100ns}}},
        {"stat-2cpu",
         3,
         {{"0", (5028769 + 11181) * kTicksTo100ns}, {"1", (6875492 + 10479) * kTicksTo100ns}}},
        {"stat-3cpu",
         4,
         {{"0", 3118410 * kTicksTo100ns},
          {"1", 5953303 * kTicksTo100ns},
          {"2", 6641958 * kTicksTo100ns},
          {"_Total", 15713671 * kTicksTo100ns / 3}}},  // per processor
        {"stat-8cpu", 9, {{"0", (3059740 + 12756) * kTicksTo100ns}}},
        {"stat-64cpu",
         65,
         {{"0", (6497615 + 1204) * kTicksTo100ns}, {"63", (4898001 + 35243) * kTicksTo100ns}}},
        {"stat-no-iowait",
         3,
         {{"0", 35635 * kTicksTo100ns}, {"1", 35575 * kTicksTo100ns}, {"_Total", 35605 * kTicksTo100ns}}},
        // Unusable lines left out; numbers too large saturate.
        {"stat-garbage",
         4,
         {{"1", kMax}, {"4", 800 * kTicksTo100ns}, {"6", 255 * kTicksTo100ns}, {"_Total", kMax}}},
    };
    for (const StatCase& stat : cases) {
        LinuxPerformanceData data(fixture(stat.fixture), leapDayEvening, 100);
        const std::vector<Instance> instances = instancesOf(queryBlock(data));
        ASSERT_EQ(instances.size(), stat.instances) << stat.fixture;
        EXPECT_EQ(instances.back().name, "_Total") << stat.fixture;
        if (std::string(stat.fixture) != "stat-garbage") {
            for (size_t i = 0; i + 1 < instances.size(); ++i) EXPECT_EQ(instances[i].name, std::to_string(i));
        }
        for (const Instance& expected : stat.some) {
            bool found = false;
            for (const Instance& instance : instances) found |= instance == expected;
            EXPECT_TRUE(found) << stat.fixture << " " << expected.name << " " << expected.idleTime100ns;
        }
    }
}

TEST(LinuxPerformanceData, AStatWithoutUsableCpuLinesGivesNoProcessorObject)
{
    for (const char* root : {"stat-no-cpu", "no-such-root"}) {
        LinuxPerformanceData data(fixture(root), leapDayEvening, 100);
        const std::vector<uint8_t> block = queryBlock(data);
        EXPECT_EQ(readAt<PERF_DATA_BLOCK>(block, 0).NumObjectTypes, 0u) << root;
        CPUUsage usage(data);
        EXPECT_THROW(usage.SampleCPUCounters(), std::runtime_error) << root;
    }
}

TEST(LinuxPerformanceData, OtherObjectsGetABlockWithoutObjects)
{
    LinuxPerformanceData data(fixture("stat-2cpu"), leapDayEvening, 100);
    const std::vector<uint8_t> block = queryBlock(data, "230");
    EXPECT_EQ(block.size(), sizeof(PERF_DATA_BLOCK));
    EXPECT_EQ(readAt<PERF_DATA_BLOCK>(block, 0).NumObjectTypes, 0u);
}

TEST(LinuxPerformanceData, TicksAreConvertedWithTheGivenUserHz)
{
    LinuxPerformanceData data(fixture("stat-1cpu"), leapDayEvening, 250);
    EXPECT_EQ(instancesOf(queryBlock(data))[0].idleTime100ns, int64_t{4147501} * 40000);
}

TEST(LinuxPerformanceData, SnapshotTimeIsTheClocksUtcTimeToTheMillisecond)
{
    LinuxPerformanceData data(fixture("stat-1cpu"), leapDayEvening, 100);
    const auto header = readAt<PERF_DATA_BLOCK>(queryBlock(data), 0);
    const SYSTEMTIME& t = header.SystemTime;
    EXPECT_EQ(std::vector<int>(
                  {t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds}),
              std::vector<int>({2024, 2, 29, 4, 23, 59, 59, 987}));
    EXPECT_EQ(std::u16string(header.Signature, 4), u"PERF");
    EXPECT_EQ(header.HeaderLength, sizeof(PERF_DATA_BLOCK));
}

TEST(LinuxPerformanceData, AnswersMoreDataUntilTheBufferHoldsTheBlock)
{
    LinuxPerformanceData data(fixture("stat-64cpu"), leapDayEvening, 100);
    uint32_t needed = 100;
    std::vector<uint8_t> buffer(needed, 0xaa);
    EXPECT_EQ(data.query("238", buffer.data(), &needed), kErrorMoreData);
    EXPECT_GT(needed, 100u);
    EXPECT_EQ(buffer, std::vector<uint8_t>(100, 0xaa));  // nothing written

    uint32_t oneShort = needed - 1;
    buffer.assign(needed, 0);
    EXPECT_EQ(data.query("238", buffer.data(), &oneShort), kErrorMoreData);
    uint32_t exact = needed;
    EXPECT_EQ(data.query("238", buffer.data(), &exact), kSuccess);
    EXPECT_EQ(exact, needed);
    EXPECT_EQ(data.query(nullptr, buffer.data(), &exact), kErrorInvalidParameter);
}

TEST(LinuxPerformanceData, TheSamplerReadsTheFixtureThroughTheBlock)
{
    LinuxPerformanceData data(fixture("stat-8cpu"), leapDayEvening, 100);
    CPUUsage usage(data);
    EXPECT_EQ(usage.CPUSlotCount(), 9);
}

TEST(LinuxPerformanceData, TheRealStatGivesOneInstancePerProcessorLine)
{
    std::ifstream stat("/proc/stat");
    size_t processorLines = 0;
    for (std::string line; std::getline(stat, line);)
        if (line.size() > 3 && line.compare(0, 3, "cpu") == 0 &&
            std::isdigit(static_cast<unsigned char>(line[3])))
            ++processorLines;

    LinuxPerformanceData data;
    CPUUsage usage(data);
    usage.SampleCPUCounters();
    EXPECT_EQ(usage.CPUSlotCount(), static_cast<int32_t>(processorLines + 1));
    usage.SampleCPUCounters();
    for (int32_t slot = 0; slot < usage.CPUSlotCount(); ++slot)
        EXPECT_TRUE(std::isfinite(usage.CPULoad(slot)));
}

TEST(ProcStatCpus, ReadsTheIdleFieldsOfEachLine)
{
    ProcStatCpus cpus;
    parseProcStatCpus(
        "cpu  1 2 3 4 5 6\ncpu0 1 2 3 40\ncpu1\t1\t2\t3\t7\t8\ncpu2 1 2 3 4 5 6 7 8 9 10 11 12\n", cpus);
    EXPECT_TRUE(cpus.hasTotal);
    EXPECT_EQ(cpus.totalIdleTicks, 9u);
    ASSERT_EQ(cpus.processors.size(), 3u);
    EXPECT_EQ(cpus.processors[0].idleTicks, 40u);
    EXPECT_EQ(cpus.processors[1].idleTicks, 15u);
    EXPECT_EQ(cpus.processors[2].idleTicks, 9u);

    parseProcStatCpus("", cpus);  // a second parse starts afresh
    EXPECT_FALSE(cpus.hasTotal);
    EXPECT_TRUE(cpus.processors.empty());
}

TEST(ProcStatCpus, RandomTextNeverBreaksTheParser)
{
    std::mt19937 random(6);
    const std::string alphabet = "cpu0123456789 \t\n\r-x:";
    ProcStatCpus cpus;
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 200, ' ');
        for (char& c : text)
            c = random() % 8 == 0 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
        parseProcStatCpus(text, cpus);
        for (const ProcessorIdleTicks& processor : cpus.processors) EXPECT_GT(processor.numberLength, 0);
    }
}

TEST(SystemTimeConversion, RoundTripsAndRejectsImpossibleDates)
{
    int64_t fileTime = -1;
    const SYSTEMTIME epoch = systemTimeFromUtc(system_clock::time_point{});
    ASSERT_TRUE(systemTimeToFileTime(epoch, fileTime));
    EXPECT_EQ(fileTime, kFileTimeOfUnixEpoch);
    EXPECT_EQ(epoch.wDayOfWeek, 4);  // a Thursday

    const SYSTEMTIME first = {1601, 1, 1, 1, 0, 0, 0, 0};
    ASSERT_TRUE(systemTimeToFileTime(first, fileTime));
    EXPECT_EQ(fileTime, 0);

    const SYSTEMTIME impossible[] = {
        {1600, 12, 0, 31, 0, 0, 0, 0}, {2023, 2, 0, 29, 0, 0, 0, 0},   {2024, 13, 0, 1, 0, 0, 0, 0},
        {2024, 1, 0, 0, 0, 0, 0, 0},   {2024, 1, 0, 1, 24, 0, 0, 0},   {2024, 1, 0, 1, 0, 60, 0, 0},
        {2024, 1, 0, 1, 0, 0, 60, 0},  {2024, 1, 0, 1, 0, 0, 0, 1000}, {30828, 1, 0, 1, 0, 0, 0, 0},
    };
    for (const SYSTEMTIME& time : impossible) {
        fileTime = 7;
        EXPECT_FALSE(systemTimeToFileTime(time, fileTime))
            << time.wYear << "-" << time.wMonth << "-" << time.wDay;
        EXPECT_EQ(fileTime, 7);
    }

    // The ends of what the clock can hold are still valid times.
    for (auto end : {system_clock::time_point::min(), system_clock::time_point::max()})
        EXPECT_TRUE(systemTimeToFileTime(systemTimeFromUtc(end), fileTime));
}

}  // namespace
}  // namespace pelmora
