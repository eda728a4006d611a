#include "platform/SystemTimeConversion.h"

#include <algorithm>

namespace pelmora {

namespace {

using namespace std::chrono;

constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;

sys_days firstDay()
{
    return sys_days{year{kFirstYear} / January / 1};
}
sys_days lastDay()
{
    return sys_days{year{kLastYear} / December / 31};
}

}  // namespace

SYSTEMTIME systemTimeFromUtc(system_clock::time_point utc)
{
    const auto lowest = time_point_cast<milliseconds>(firstDay());
    const auto highest = time_point_cast<milliseconds>(lastDay()) + days{1} - milliseconds{1};
    const auto at = std::clamp(floor<milliseconds>(utc), lowest, highest);

    const sys_days day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss<milliseconds> clock{at - day};
    SYSTEMTIME time{};
    time.wYear = static_cast<uint16_t>(static_cast<int>(date.year()));
    time.wMonth = static_cast<uint16_t>(static_cast<unsigned>(date.month()));
    time.wDayOfWeek = static_cast<uint16_t>(weekday{day}.c_encoding());
    time.wDay = static_cast<uint16_t>(static_cast<unsigned>(date.day()));
    time.wHour = static_cast<uint16_t>(clock.hours().count());
    time.wMinute = static_cast<uint16_t>(clock.minutes().count());
    time.wSecond = static_cast<uint16_t>(clock.seconds().count());
    time.wMilliseconds = static_cast<uint16_t>(clock.subseconds().count());
    return time;
}

bool systemTimeToFileTime(const SYSTEMTIME& time, int64_t& fileTime)
{
    if (time.wYear < kFirstYear || time.wYear > kLastYear) return false;
    const year_month_day date{year{time.wYear}, month{time.wMonth}, day{time.wDay}};
    if (!date.ok()) return false;
    if (time.wHour > 23 || time.wMinute > 59 || time.wSecond > 59 || time.wMilliseconds > 999) return false;

    const auto sinceFirstDay = sys_days{date} - firstDay();
    const int64_t milliseconds = duration_cast<std::chrono::milliseconds>(sinceFirstDay).count() +
                                 ((time.wHour * 60 + time.wMinute) * 60 + time.wSecond) * int64_t{1000} +
                                 time.wMilliseconds;
    fileTime = milliseconds * 10000;
    return true;
}

}  // namespace pelmora
