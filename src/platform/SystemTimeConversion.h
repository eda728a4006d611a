#pragma once
// Conversions between UTC wall-clock time, the calendar form SYSTEMTIME and
// the FILETIME count of 100-ns intervals since 1 January 1601.
#include <chrono>
#include <cstdint>

#include "platform/PerfDataLayout.h"

namespace pelmora {

// 100-ns intervals from 1601-01-01 to 1970-01-01.
inline constexpr int64_t kFileTimeOfUnixEpoch = 116444736000000000;

// The calendar form of a UTC time, to the millisecond; times outside
// 1601..30827 are held at the nearest end of that range.
SYSTEMTIME systemTimeFromUtc(std::chrono::system_clock::time_point utc);

// False, leaving `fileTime` alone, when a field is out of its range (a
// month of 13, 30 February, a year before 1601...). The day of the week is
// not examined.
bool systemTimeToFileTime(const SYSTEMTIME& time, int64_t& fileTime);

}  // namespace pelmora
