#include "platform/windows/WindowsProcessorIdentity.h"

#include <windows.h>

#include "platform/ClockMeasurement.h"
#include "platform/ProcessorIdentification.h"

namespace pelmora {

namespace {

int64_t performanceCounter()
{
    LARGE_INTEGER count{};
    return ::QueryPerformanceCounter(&count) ? count.QuadPart : 0;
}

}  // namespace

std::string WindowsProcessorIdentity::name()
{
    return identifiedProcessorName();
}

int64_t WindowsProcessorIdentity::rawClockMHz()
{
    if (clockMHz_) return *clockMHz_;
    int64_t measured = 0;
    LARGE_INTEGER frequency{};
    if (hasTimeStampCounter() && ::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
        const HANDLE thread = ::GetCurrentThread();
        int savedPriority = THREAD_PRIORITY_NORMAL;
        ClockCounters counters;
        counters.performanceCounter = performanceCounter;
        counters.performanceFrequency = frequency.QuadPart;
        counters.timeStampCounter = readTimeStampCounter;
        counters.beforePass = [&] {
            savedPriority = ::GetThreadPriority(thread);
            ::SetThreadPriority(thread, THREAD_PRIORITY_TIME_CRITICAL);
        };
        counters.afterPass = [&] {
            if (savedPriority != THREAD_PRIORITY_ERROR_RETURN) ::SetThreadPriority(thread, savedPriority);
        };
        measured = measureRawClockMHz(counters);
    }
    clockMHz_ = measured;
    return measured;
}

}  // namespace pelmora
