#pragma once
// Numbers written with the separators of the user's locale, for the captions
// that show sizes (the drive panel's size in GB).
#include <cstdint>
#include <string>

namespace pelmora {

// Separators as the C library describes them: `grouping` holds the group
// sizes from the right, the last one repeating, CHAR_MAX ending the grouping;
// an empty grouping or separator writes no thousands separators.
struct NumberSeparators {
    std::string decimalPoint = ".";
    std::string thousandsSeparator = ",";
    std::string grouping = "\3";
};

// The separators of LC_NUMERIC of the C library locale as the program set it.
NumberSeparators localeNumberSeparators();

// numerator / denominator to the nearest integer, a half going away from
// zero. A zero denominator gives 0.
uint64_t divideRoundingHalfAway(uint64_t numerator, uint64_t denominator);

// A fixed-point number: scaledValue is the value times 10^decimals, written
// with thousands separators and exactly `decimals` decimals.
std::string formatFixedPoint(uint64_t scaledValue, unsigned decimals, const NumberSeparators& separators);

}  // namespace pelmora
