#include "core/StartupTrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace pelmora {

namespace {

double epochMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

// "1765270000.123456" (or with the locale's decimal comma) in ms since the
// epoch; a negative value for anything else.
double parseEpochSeconds(const char* text)
{
    double ms = 0;
    const char* p = text;
    for (; *p >= '0' && *p <= '9'; ++p) ms = ms * 10 + (*p - '0') * 1000.0;
    if (p == text) return -1;
    if (*p == '.' || *p == ',') {
        double unit = 100;
        for (++p; *p >= '0' && *p <= '9'; ++p, unit /= 10) ms += (*p - '0') * unit;
    }
    return *p == '\0' ? ms : -1;
}

}  // namespace

void markStartup(const char* phase)
{
    // Negative: tracing is off.
    static const double originMs = [] {
        const char* value = std::getenv("PELMORA_TRACE_STARTUP");
        if (value == nullptr || *value == '\0') return -1.0;
        const double given = parseEpochSeconds(value);
        return given > 0 ? given : epochMs();
    }();
    if (originMs < 0) return;
    // The processor time beside it: what the phases cost on a busy machine.
    const double cpuMs = 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
    std::fprintf(stderr, "start-up: %7.1f ms (processor %6.1f) %s\n", epochMs() - originMs, cpuMs, phase);
}

}  // namespace pelmora
