#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/ProcessorNames.h"
#include "platform/linux/LinuxProcessorIdentity.h"

namespace pelmora {
namespace {

std::string fixtureText(const std::string& name)
{
    std::ifstream in(std::string(PELMORA_FIXTURES) + "/proc/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct LegacyCase {
    const char* vendor;
    unsigned family;
    unsigned model;
    const char* name;
};

TEST(ProcessorNames, OlderProcessorsAreNamedByVendorFamilyAndModel)
{
    const LegacyCase cases[] = {
        {"GenuineIntel", 4, 8, "Intel 486"},
        {"GenuineIntel", 5, 4, "Intel Pentium MMX"},
        {"GenuineIntel", 5, 2, "Intel Pentium"},
        {"GenuineIntel", 6, 8, "Intel Pentium III"},
        {"GenuineIntel", 6, 42, "Intel P6 family"},
        {"GenuineIntel", 15, 2, "Intel Pentium 4"},
        {"GenuineIntel", 3, 0, "Intel family 3 model 0"},
        {"AuthenticAMD", 5, 8, "AMD K6-2"},
        {"AuthenticAMD", 6, 3, "AMD Duron"},
        {"AuthenticAMD", 6, 4, "AMD Athlon"},
        {"CyrixInstead", 5, 2, "Cyrix 6x86"},
        {"CentaurHauls", 6, 9, "VIA C3"},
        {"Geode by NSC", 5, 5, "NSC Geode"},
        {"SomeOtherCPU", 6, 1, "Unknown"},
        {"", 0, 0, "Unknown"},
    };
    for (const LegacyCase& c : cases)
        EXPECT_EQ(legacyProcessorName(c.vendor, c.family, c.model), c.name) << c.vendor << " " << c.family;
}

TEST(ProcessorNames, BrandNameStopsAtTheFirstZeroAndKeepsLeadingBlanks)
{
    char brand[48] = {};
    std::strcpy(brand, "       Intel(R) Pentium(R) 4 CPU 2.80GHz");
    EXPECT_EQ(brandName(brand), "       Intel(R) Pentium(R) 4 CPU 2.80GHz");

    std::memset(brand, 'x', sizeof brand);  // no zero at all: all 48
    EXPECT_EQ(brandName(brand), std::string(48, 'x'));

    std::memset(brand, 0, sizeof brand);
    EXPECT_EQ(brandName(brand), "");
}

TEST(ProcessorNames, CpuinfoNameOnProcessorsWithoutTheIdentificationInstruction)
{
    EXPECT_EQ(cpuinfoProcessorName(fixtureText("cpuinfo-arm/proc/cpuinfo")),
              "Raspberry Pi 4 Model B Rev 1.1");
    EXPECT_EQ(cpuinfoProcessorName(fixtureText("cpuinfo-armv7/proc/cpuinfo")),
              "ARMv7 Processor rev 10 (v7l)");
    EXPECT_EQ(cpuinfoProcessorName("processor\t: 0\nmodel name\t: Example CPU 3.00GHz  \n"),
              "Example CPU 3.00GHz");
    EXPECT_EQ(cpuinfoProcessorName("cpu model\t\t: ICT Loongson-3 V0.13  FPU V0.1\n"),
              "ICT Loongson-3 V0.13  FPU V0.1");
    EXPECT_EQ(cpuinfoProcessorName("model name\t: " + std::string(60, 'y') + "\n"), std::string(48, 'y'));
    EXPECT_EQ(cpuinfoProcessorName("model name\t:\nprocessor\t: 0\n"), "Unknown");
    EXPECT_EQ(cpuinfoProcessorName(""), "Unknown");
}

TEST(LinuxProcessorIdentity, TheRealProcessorHasANameAndOnX86AMeasuredClock)
{
    LinuxProcessorIdentity identity;
    const std::string name = identity.name();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), kMaxProcessorNameLength);
#if defined(__x86_64__) || defined(__i386__)
    const int64_t clock = identity.rawClockMHz();
    EXPECT_GT(clock, 0);
    EXPECT_EQ(identity.rawClockMHz(), clock);  // measured once
#else
    EXPECT_EQ(identity.rawClockMHz(), 0);
#endif
}

}  // namespace
}  // namespace pelmora
