// The Windows services against the system's own functions. Under Wine these
// are Wine's answers; where Wine has no answer (no processor performance
// object, no wave-out volume, a refresh rate of 0) the tests accept the
// failure, and the parsing and the panels are covered by the unit tests on
// recorded blocks and fakes (CPUUsageTest, ProcessorPanelTest,
// StatusPanelTest).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "app/Startup.h"
#include "platform/PerfDataLayout.h"
#include "platform/windows/WindowsInstanceLocator.h"
#include "platform/windows/WindowsServices.h"
#include "readings/CPUUsage.h"

namespace pelmora {
namespace {

TEST(WindowsServices, MemoryStatusDescribesThisMachineAndProcess)
{
    const MemoryStatus status = WindowsMemoryStatus().memoryStatus();
    EXPECT_LE(status.memoryLoad, 100u);
    EXPECT_GT(status.totalPhys, 0u);
    EXPECT_LE(status.availPhys, status.totalPhys);
    EXPECT_GT(status.totalVirtual, uint64_t{1} << 32);  // a 64-bit process
    EXPECT_GT(status.availVirtual, 0u);
    EXPECT_LT(status.availVirtual, status.totalVirtual);
}

TEST(WindowsServices, DriveCIsAFixedDriveWithSpace)
{
    WindowsDrives drives;
    EXPECT_EQ(drives.driveType('C'), kDriveFixed);
    EXPECT_EQ(drives.driveType('c'), kDriveFixed);
    uint64_t freeBytes = 0, totalBytes = 0;
    ASSERT_TRUE(drives.diskFreeSpace('C', freeBytes, totalBytes));
    EXPECT_GT(totalBytes, 0u);
    EXPECT_LE(freeBytes, totalBytes);
    std::string label = "unset";
    EXPECT_TRUE(drives.volumeLabel('C', label));
}

TEST(WindowsServices, NoLetterIsNoDrive)
{
    WindowsDrives drives;
    uint64_t freeBytes = 0, totalBytes = 0;
    std::string label;
    for (char letter : {'1', ':', '\\', '\0'}) {
        EXPECT_EQ(drives.driveType(letter), kDriveNoRootDir);
        EXPECT_FALSE(drives.diskFreeSpace(letter, freeBytes, totalBytes));
        EXPECT_FALSE(drives.volumeLabel(letter, label));
    }
}

TEST(WindowsServices, NamesAreTheSystemsOwn)
{
    WindowsNames names;
    std::string computer, user;
    ASSERT_TRUE(names.computerName(computer));
    EXPECT_FALSE(computer.empty());
    EXPECT_LE(computer.size(), 15u);
    char expected[MAX_COMPUTERNAME_LENGTH + 1] = {};
    ASSERT_GT(::GetEnvironmentVariableA("COMPUTERNAME", expected, sizeof expected), 0u);
    EXPECT_EQ(computer, expected);
    ASSERT_TRUE(names.userName(user));
    EXPECT_FALSE(user.empty());
    names.workgroup();  // loads the network library; no name is promised
}

TEST(WindowsServices, TickCountIsTheSixtyFourBitCount)
{
    const uint64_t before = ::GetTickCount64();
    const uint64_t ticks = WindowsTickCount().milliseconds();
    EXPECT_GE(ticks, before);
    EXPECT_LT(ticks - before, 10000u);
}

TEST(WindowsServices, PowerStatusIsAnswered)
{
    PowerStatus status;
    ASSERT_TRUE(WindowsPower().systemPowerStatus(status));
    EXPECT_TRUE(status.batteryLifePercent <= 100 || status.batteryLifePercent == kBatteryPercentUnknown);
}

TEST(WindowsServices, DisplayModeHasASize)
{
    DisplayMode mode;
    ASSERT_TRUE(WindowsDisplay().currentMode(mode));
    EXPECT_GT(mode.width, 0u);
    EXPECT_GT(mode.height, 0u);
    EXPECT_GT(mode.bitsPerPixel, 0u);
}

TEST(WindowsServices, ThePlatformIsTheOneTheWidgetIsWrittenFor)
{
    const OsVersion version = WindowsVersionInfo().version();
    EXPECT_EQ(version.platformId, 2u);
    EXPECT_GE(version.majorVersion, 6u);

    // The start-up lets it through to the widget.
    WindowsInstanceLocator instances;
    std::vector<std::string> messages;
    const int code =
        runStartup(instances, WindowsVersionInfo(),
                   {[&](const std::string& text) { messages.push_back(text); }, [] { return 42; }});
    EXPECT_EQ(code, 42);
    EXPECT_TRUE(messages.empty());
}

TEST(WindowsServices, ProcessorIsNamedAndClocked)
{
    WindowsProcessorIdentity processor;
    const std::string name = processor.name();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 48u);
    EXPECT_NE(name, "Unknown");
    const int64_t clock = processor.rawClockMHz();
    EXPECT_GT(clock, 100);
    EXPECT_EQ(processor.rawClockMHz(), clock);  // measured once
}

TEST(WindowsServices, PerformanceDataIsABlockOrTheSamplersFailure)
{
    WindowsPerformanceData data;
    std::vector<uint8_t> buffer(8192);
    uint32_t answer = kErrorMoreData;
    while (answer == kErrorMoreData && buffer.size() < (16u << 20)) {
        buffer.resize(buffer.size() + 4096);
        uint32_t size = static_cast<uint32_t>(buffer.size());
        answer = data.query(kProcessorObjectValueName, buffer.data(), &size);
    }
    ASSERT_EQ(answer, kSuccess);
    PERF_DATA_BLOCK block;
    std::memcpy(&block, buffer.data(), sizeof block);
    EXPECT_EQ(std::u16string_view(block.Signature, 4), u"PERF");

    CPUUsage usage(data);
    if (block.NumObjectTypes == 0) {
        // Wine keeps no processor object: the sampler's failure, no crash.
        EXPECT_THROW(usage.SampleCPUCounters(), std::runtime_error);
    } else {
        usage.SampleCPUCounters();
        EXPECT_GE(usage.CPUSlotCount(), 2);
    }
}

}  // namespace
}  // namespace pelmora
