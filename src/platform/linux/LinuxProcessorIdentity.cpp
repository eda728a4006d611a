#include "platform/linux/LinuxProcessorIdentity.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/ClockMeasurement.h"
#include "platform/ProcessorIdentification.h"
#include "platform/ProcessorNames.h"
#include "platform/linux/ProcFileReader.h"
#include "platform/linux/RootPath.h"

namespace pelmora {

namespace {

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
    if (hasIdentificationInstruction()) return identifiedProcessorName();
    ProcFileReader cpuinfo(underRoot(root_, "proc/cpuinfo"), 16384);
    return cpuinfoProcessorName(cpuinfo.read());
}

int64_t LinuxProcessorIdentity::rawClockMHz()
{
    if (clockMHz_) return *clockMHz_;
    int64_t measured = 0;
    if (hasTimeStampCounter()) {
        PriorityBoost boost;
        ClockCounters counters;
        counters.performanceCounter = monotonic100ns;
        counters.performanceFrequency = 10000000;
        counters.timeStampCounter = readTimeStampCounter;
        counters.beforePass = [&boost] { boost.raise(); };
        counters.afterPass = [&boost] { boost.restore(); };
        measured = measureRawClockMHz(counters);
    }
    clockMHz_ = measured;
    return measured;
}

}  // namespace pelmora
