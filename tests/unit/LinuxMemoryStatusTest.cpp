#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/linux/LinuxMemoryStatus.h"
#include "readings/MemoryPanel.h"

namespace pelmora {
namespace {

constexpr uint64_t kAddressSpace = 0x7ffffffff000;
uint64_t fixedAddressSpace()
{
    return kAddressSpace;
}
uint64_t smallAddressSpace()
{
    return 512ull << 20;
}

std::string fixture(const std::string& name)
{
    return std::string(PELMORA_FIXTURES) + "/proc/" + name;
}

TEST(LinuxMemoryStatus, ModernKernelUsesMemAvailable)
{
    LinuxMemoryStatus memory(fixture("meminfo-modern"), fixedAddressSpace);
    const MemoryStatus status = memory.memoryStatus();
    EXPECT_EQ(status.memoryLoad, 63u);  // 62.94 %
    EXPECT_EQ(status.totalPhys, 16318480ull * 1024);
    EXPECT_EQ(status.availPhys, 6048212ull * 1024);
    EXPECT_EQ(status.totalVirtual, kAddressSpace);
    EXPECT_EQ(status.availVirtual, kAddressSpace - 1048576ull * 1024);
    EXPECT_EQ(virtualShareInUse(status.totalVirtual, status.availVirtual), 1);
}

TEST(LinuxMemoryStatus, OlderKernelCountsFreeBuffersAndCacheAsAvailable)
{
    LinuxMemoryStatus memory(fixture("meminfo-no-available"), fixedAddressSpace);
    const MemoryStatus status = memory.memoryStatus();
    EXPECT_EQ(status.memoryLoad, 45u);  // 45.44 %
    EXPECT_EQ(status.availPhys, (1211312ull + 312444 + 2874500) * 1024);
}

TEST(LinuxMemoryStatus, AnAddressSpaceLimitBelowTheProcessSizeLeavesNothingFree)
{
    LinuxMemoryStatus memory(fixture("meminfo-modern"), smallAddressSpace);
    const MemoryStatus status = memory.memoryStatus();
    EXPECT_EQ(status.totalVirtual, 512ull << 20);
    EXPECT_EQ(status.availVirtual, 0u);  // VmSize is 1 GiB
}

TEST(LinuxMemoryStatus, AMissingTreeGivesZeroes)
{
    LinuxMemoryStatus memory(fixture("no-such-root"), fixedAddressSpace);
    const MemoryStatus status = memory.memoryStatus();
    EXPECT_EQ(status.memoryLoad, 0u);
    EXPECT_EQ(status.totalPhys, 0u);
    EXPECT_EQ(status.totalVirtual, 0u);
    EXPECT_EQ(status.availVirtual, 0u);
}

struct LoadCase {
    const char* name;
    const char* meminfo;
    uint32_t load;
};

TEST(PhysicalMemory, LoadIsRoundedHalfToEvenAndOddContentsGiveADefault)
{
    const LoadCase cases[] = {
        {"half goes up to even", "MemTotal: 200 kB\nMemAvailable: 1 kB\n", 100},   // 99.5
        {"half goes down to even", "MemTotal: 200 kB\nMemAvailable: 3 kB\n", 98},  // 98.5
        {"just above half", "MemTotal: 1000 kB\nMemAvailable: 624 kB\n", 38},      // 37.6
        {"all in use", "MemTotal: 1000 kB\nMemAvailable: 0 kB\n", 100},
        {"nothing in use", "MemTotal: 1000 kB\nMemAvailable: 1000 kB\n", 0},
        {"more available than total", "MemTotal: 1000 kB\nMemAvailable: 5000 kB\n", 0},
        {"no total", "MemFree: 10 kB\nMemAvailable: 5 kB\n", 0},
        {"zero total", "MemTotal: 0 kB\nMemAvailable: 0 kB\n", 0},
        {"total not a number", "MemTotal: lots kB\nMemAvailable: 0 kB\n", 0},
        {"empty", "", 0},
        {"huge numbers", "MemTotal: 99999999999999999999999 kB\nMemAvailable: 0 kB\n", 100},
        {"no available: free, buffers, cached",
         "MemTotal: 100 kB\nMemFree: 10 kB\nBuffers: 5 kB\nCached: 5 kB\n", 80},
        {"SwapCached is not Cached", "MemTotal: 100 kB\nSwapCached: 50 kB\nMemFree: 10 kB\nCached: 20 kB\n",
         70},
        {"no trailing newline", "MemTotal: 100 kB\nMemAvailable: 25 kB", 75},
    };
    for (const LoadCase& c : cases) {
        MemoryStatus status;
        physicalMemoryFrom(c.meminfo, status);
        EXPECT_EQ(status.memoryLoad, c.load) << c.name;
    }
}

TEST(VirtualMemory, FreeIsTheAddressSpaceLessVmSize)
{
    MemoryStatus status;
    virtualMemoryFrom("VmPeak:\t 2048 kB\nVmSize:\t 1024 kB\n", 1 << 30, status);
    EXPECT_EQ(status.totalVirtual, 1u << 30);
    EXPECT_EQ(status.availVirtual, (1u << 30) - (1u << 20));

    virtualMemoryFrom("Name:\tpelmora\nVmSizeX: 5 kB\n", 1 << 30, status);
    EXPECT_EQ(status.totalVirtual, 0u);  // no VmSize: nothing known
    EXPECT_EQ(status.availVirtual, 0u);
}

TEST(LinuxMemoryStatus, TheRealSystemGivesPlausibleValues)
{
    const uint64_t space = LinuxMemoryStatus::processAddressSpaceBytes();
    EXPECT_GT(space, 0u);
    EXPECT_LE(space, kAddressSpace);
    LinuxMemoryStatus memory;
    const MemoryStatus status = memory.memoryStatus();
    EXPECT_LE(status.memoryLoad, 100u);
    EXPECT_GT(status.totalPhys, 0u);
    EXPECT_EQ(status.totalVirtual, space);
    EXPECT_LT(status.availVirtual, status.totalVirtual);
}

}  // namespace
}  // namespace pelmora
