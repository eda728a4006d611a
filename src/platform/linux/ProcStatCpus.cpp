#include "platform/linux/ProcStatCpus.h"

#include <cstring>
#include <limits>

#include "core/TextTrim.h"

namespace pelmora {

namespace {

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
constexpr size_t kIdleField = 3;  // user nice system idle
constexpr size_t kIowaitField = 4;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

uint64_t saturatingAdd(uint64_t a, uint64_t b)
{
    return a > kMax - b ? kMax : a + b;
}

// Parses the decimal number at the start of `field`; false when it is not one.
bool parseNumber(std::string_view field, uint64_t& value)
{
    if (field.empty()) return false;
    value = 0;
    for (char c : field) {
        if (!isDigit(c)) return false;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return true;
}

// The idle + iowait ticks of the fields after a line's label.
bool idleTicksOf(std::string_view fields, uint64_t& idleTicks)
{
    uint64_t values[kIowaitField + 1] = {};
    size_t count = 0;
    size_t at = 0;
    while (count <= kIowaitField) {
        while (at < fields.size() && isBlank(fields[at])) ++at;
        size_t end = at;
        while (end < fields.size() && !isBlank(fields[end])) ++end;
        if (!parseNumber(fields.substr(at, end - at), values[count])) break;
        ++count;
        at = end;
    }
    if (count <= kIdleField) return false;
    idleTicks = saturatingAdd(values[kIdleField], values[kIowaitField]);
    return true;
}

void parseLine(std::string_view line, ProcStatCpus& cpus)
{
    if (line.substr(0, 3) != "cpu") return;
    std::string_view rest = line.substr(3);

    size_t digits = 0;
    while (digits < rest.size() && isDigit(rest[digits])) ++digits;
    if (digits < rest.size() && !isBlank(rest[digits])) return;  // "cpufreq", "cpu3x": not ours
    if (digits == 0 && rest.empty()) return;

    uint64_t idleTicks = 0;
    if (!idleTicksOf(rest.substr(digits), idleTicks)) return;

    if (digits == 0) {
        if (!cpus.hasTotal) {
            cpus.hasTotal = true;
            cpus.totalIdleTicks = idleTicks;
        }
        return;
    }
    ProcessorIdleTicks processor;
    if (digits > sizeof processor.number) return;
    std::memcpy(processor.number, rest.data(), digits);
    processor.numberLength = static_cast<uint8_t>(digits);
    processor.idleTicks = idleTicks;
    cpus.processors.push_back(processor);
}

}  // namespace

void parseProcStatCpus(std::string_view text, ProcStatCpus& cpus)
{
    cpus.hasTotal = false;
    cpus.totalIdleTicks = 0;
    cpus.processors.clear();
    while (!text.empty()) {
        const size_t end = text.find('\n');
        parseLine(text.substr(0, end), cpus);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

}  // namespace pelmora
