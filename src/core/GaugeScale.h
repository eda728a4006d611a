#pragma once
// The dial gauge's scale, the same in every front end: it runs clockwise
// from the lower left to the lower right over 270 degrees, leaving the
// bottom free for the read-out, and the needle moves in whole degrees.
#include <charconv>
#include <cmath>
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

// "000.00": as printf's "%06.2f" writes it, rounding included. Through
// std::to_chars: glibc's printf takes a double through multi-precision
// arithmetic, and this runs on every tick whose processor load moved.
inline std::string formatReadout(double value)
{
    char text[32];
    const bool negative = std::signbit(value);
    const auto [end, error] =
        std::isfinite(value)
            ? std::to_chars(text, text + sizeof text, negative ? -value : value, std::chars_format::fixed, 2)
            : std::to_chars_result{text, std::errc::value_too_large};
    if (error != std::errc()) {
        std::snprintf(text, sizeof text, "%06.2f", value);
        return text;
    }
    const size_t digits = static_cast<size_t>(end - text);
    const size_t width = negative ? 5 : 6;  // the sign comes before the padding
    std::string readout = negative ? "-" : "";
    if (digits < width) readout.append(width - digits, '0');
    return readout.append(text, digits);
}

}  // namespace pelmora::gauge
