#include "platform/ProcessorIdentification.h"

#include <cstring>

#include "platform/ProcessorNames.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define PELMORA_X86 1
#endif

namespace pelmora {

#ifdef PELMORA_X86

namespace {

constexpr unsigned kTimeStampCounterBit = 1u << 4;  // leaf 1, EDX

}  // namespace

bool hasIdentificationInstruction()
{
    return true;
}

std::string identifiedProcessorName()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    const unsigned maxLeaf = __get_cpuid_max(0, nullptr);
    if (maxLeaf == 0) return "Unknown";

    if (__get_cpuid_max(0x80000000, nullptr) >= 0x80000004) {
        char brand[48] = {};
        for (unsigned leaf = 0; leaf < 3; ++leaf) {
            __cpuid(0x80000002 + leaf, eax, ebx, ecx, edx);
            const unsigned words[4] = {eax, ebx, ecx, edx};
            std::memcpy(brand + leaf * 16, words, sizeof words);
        }
        std::string name = brandName(brand);
        if (!name.empty()) return name;
    }

    __cpuid(0, eax, ebx, ecx, edx);
    char vendor[12];
    std::memcpy(vendor, &ebx, 4);
    std::memcpy(vendor + 4, &edx, 4);
    std::memcpy(vendor + 8, &ecx, 4);
    unsigned family = 0, model = 0;
    if (maxLeaf >= 1) {
        __cpuid(1, eax, ebx, ecx, edx);
        family = (eax >> 8) & 0xF;
        model = (eax >> 4) & 0xF;
        if (family == 0xF) family += (eax >> 20) & 0xFF;
        if (family == 0x6 || family >= 0xF) model += ((eax >> 16) & 0xF) << 4;
    }
    return legacyProcessorName(std::string_view(vendor, sizeof vendor), family, model);
}

bool hasTimeStampCounter()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & kTimeStampCounterBit) != 0;
}

uint64_t readTimeStampCounter()
{
    return static_cast<uint64_t>(__rdtsc());
}

#else

bool hasIdentificationInstruction()
{
    return false;
}

std::string identifiedProcessorName()
{
    return "Unknown";
}

bool hasTimeStampCounter()
{
    return false;
}

uint64_t readTimeStampCounter()
{
    return 0;
}

#endif

}  // namespace pelmora
