#pragma once
// The dial gauge's scale, the same in every front end: it runs clockwise
// from the lower left to the lower right over 270 degrees, leaving the
// bottom free for the read-out, and the needle moves in whole degrees.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace pelmora::gauge {

inline constexpr double kMinimum = 0;
inline constexpr double kMaximum = 100;
inline constexpr double kStartAngleDeg = 225.0;
inline constexpr double kSweepDeg = 270.0;
inline constexpr double kArcRadius = 0.80;  // shares of the dial face's radius
inline constexpr double kBandInner = 0.60;
inline constexpr double kNeedleLength = 0.76;
inline constexpr int kDivisions = 10;
inline constexpr int kSubdivisions = 3;
inline constexpr double kThresholdFrom = 25;  // the band under the arc, in values
inline constexpr double kThresholdTo = 100;

// Degrees, counter-clockwise from 3 o'clock.
inline double angleForValue(double value)
{
    return kStartAngleDeg - kSweepDeg * (value - kMinimum) / (kMaximum - kMinimum);
}

// The needle's drawn angle: a degree moves its tip under half a pixel.
inline int drawnAngleKey(double value)
{
    return static_cast<int>(std::lrint(angleForValue(value)));
}

// How far the needle turns, in the whole degrees it is drawn at, before its
// tip, `tipRadius` pixels from the centre, has moved by `pixels` along its
// arc: the needle's change in the pixels a bar's edge moves. Any drawn turn
// changes pixels, so one pixel is one degree. 0 pixels stay 0: the whole
// turn left (see stepsUntilDrawnChange).
inline int needleTurnForTipTravel(int pixels, double tipRadius)
{
    constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;
    if (pixels == 0) return 0;
    if (pixels <= 1 || tipRadius <= 0) return 1;
    return static_cast<int>(std::ceil(pixels / (tipRadius * kRadiansPerDegree)));
}

// `value` (finite, not negative, below 10^15) times 100, rounded to the
// nearest whole number and a half to the even one, as printf rounds: from
// the double's exact binary value, mantissa times a power of two.
inline uint64_t hundredthsOf(double value)
{
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    const int biased = static_cast<int>(bits >> 52 & 0x7ff);
    const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
    const uint64_t mantissa = biased == 0 ? fraction : fraction | uint64_t{1} << 52;
    const int shift = 1075 - std::max(biased, 1);  // value = mantissa / 2^shift; below 2^52, shift > 0
    const uint64_t scaled = mantissa * 100;        // below 2^60
    if (shift > 61) return 0;                      // under a half
    const uint64_t whole = scaled >> shift;
    const uint64_t rest = scaled & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    return whole + (rest > half || (rest == half && (whole & 1) != 0) ? 1 : 0);
}

// "000.00": as printf's "%06.2f" writes it, rounding included. In whole
// numbers: glibc's printf takes a double through multi-precision arithmetic,
// and this runs on every tick whose processor load moved; the C++ library's
// shortest-form conversion would keep its code and tables resident.
inline std::string formatReadout(double value)
{
    const bool negative = std::signbit(value);
    const double size = negative ? -value : value;
    if (!(size < 1e15)) {  // infinite, not a number, or beyond any reading
        char text[400];
        std::snprintf(text, sizeof text, "%06.2f", value);
        return text;
    }
    const uint64_t hundredths = hundredthsOf(size);
    char text[32];
    // Room for the point and the hundredths after the whole part's 15 digits at most.
    char* end = std::to_chars(text, text + sizeof text - 3, hundredths / 100).ptr;
    const unsigned cents = static_cast<unsigned>(hundredths % 100);
    *end++ = '.';
    *end++ = static_cast<char>('0' + cents / 10);
    *end++ = static_cast<char>('0' + cents % 10);
    const size_t digits = static_cast<size_t>(end - text);
    const size_t width = negative ? 5 : 6;  // the sign comes before the padding
    std::string readout = negative ? "-" : "";
    if (digits < width) readout.append(width - digits, '0');
    return readout.append(text, digits);
}

}  // namespace pelmora::gauge
