#pragma once
// "Rounded" in the widget's readings: to the nearest integer, a half going
// to the even neighbour (42.5 -> 42, 43.5 -> 44), whatever the floating-point
// environment's rounding mode. Not-a-number gives 0; values beyond the
// 64-bit range are held at its ends.
#include <cmath>
#include <cstdint>
#include <limits>

namespace pelmora {

inline int64_t roundHalfEven(double value)
{
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9223372036854775807.0;  // 2^63
    if (value >= kLimit) return std::numeric_limits<int64_t>::max();
    if (value < -kLimit) return std::numeric_limits<int64_t>::min();
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<int64_t>(whole);
}

}  // namespace pelmora
