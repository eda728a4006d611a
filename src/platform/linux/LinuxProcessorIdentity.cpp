#include "platform/linux/LinuxProcessorIdentity.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/ClockMeasurement.h"
#include "platform/linux/ProcFileReader.h"
#include "platform/linux/ProcessorNames.h"
#include "platform/linux/RootPath.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define PELMORA_X86 1
#endif

namespace pelmora {

namespace {

#ifdef PELMORA_X86

constexpr unsigned kTimeStampCounterBit = 1u << 4;  // leaf 1, EDX

std::string x86ProcessorName()
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

#endif

// 100-ns counts of the monotonic clock: a 10 MHz performance counter.
int64_t monotonic100ns()
{
    timespec now{};
    if (::clock_gettime(CLOCK_MONOTONIC, &now) != 0) return 0;
    return int64_t{now.tv_sec} * 10000000 + now.tv_nsec / 100;
}

// Raises the calling thread as far as it is allowed (real-time first, else
// the lowest nice value its limits permit) and puts it back afterwards.
// Failures leave the priority as it was.
class PriorityBoost {
public:
    void raise()
    {
        const pthread_t self = ::pthread_self();
        if (::pthread_getschedparam(self, &savedPolicy_, &savedParam_) == 0) {
            sched_param realtime{};
            realtime.sched_priority = ::sched_get_priority_max(SCHED_FIFO);
            if (::pthread_setschedparam(self, SCHED_FIFO, &realtime) == 0) {
                realtime_ = true;
                return;
            }
        }
        const id_t thread = static_cast<id_t>(::gettid());
        errno = 0;
        savedNice_ = ::getpriority(PRIO_PROCESS, thread);
        if (errno != 0) return;
        int lowestNice = -20;
        rlimit limit{};
        if (::getrlimit(RLIMIT_NICE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            lowestNice = 20 - static_cast<int>(limit.rlim_cur > 40 ? 40 : limit.rlim_cur);
        if (lowestNice < savedNice_ && ::setpriority(PRIO_PROCESS, thread, lowestNice) == 0) niced_ = true;
    }

    void restore()
    {
        if (realtime_) ::pthread_setschedparam(::pthread_self(), savedPolicy_, &savedParam_);
        if (niced_) ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), savedNice_);
        realtime_ = niced_ = false;
    }

private:
    int savedPolicy_ = SCHED_OTHER;
    sched_param savedParam_{};
    int savedNice_ = 0;
    bool realtime_ = false;
    bool niced_ = false;
};

}  // namespace

LinuxProcessorIdentity::LinuxProcessorIdentity(std::string root) : root_(std::move(root))
{
}

std::string LinuxProcessorIdentity::name()
{
#ifdef PELMORA_X86
    return x86ProcessorName();
#else
    ProcFileReader cpuinfo(underRoot(root_, "proc/cpuinfo"), 16384);
    return cpuinfoProcessorName(cpuinfo.read());
#endif
}

int64_t LinuxProcessorIdentity::rawClockMHz()
{
    if (clockMHz_) return *clockMHz_;
    int64_t measured = 0;
#ifdef PELMORA_X86
    if (hasTimeStampCounter()) {
        PriorityBoost boost;
        ClockCounters counters;
        counters.performanceCounter = monotonic100ns;
        counters.performanceFrequency = 10000000;
        counters.timeStampCounter = [] { return static_cast<uint64_t>(__rdtsc()); };
        counters.beforePass = [&boost] { boost.raise(); };
        counters.afterPass = [&boost] { boost.restore(); };
        measured = measureRawClockMHz(counters);
    }
#else
    (void)monotonic100ns;
#endif
    clockMHz_ = measured;
    return measured;
}

}  // namespace pelmora
