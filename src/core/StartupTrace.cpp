#include "core/StartupTrace.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace pelmora {

namespace {

double epochMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

// "1765270000.123456" (or with the locale's decimal comma) in ms since the
// epoch; a negative value for anything else.
double parseEpochSeconds(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds < 0) return -1;
    return seconds * 1000.0;
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
