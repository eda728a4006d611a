#include "core/NumberFormat.h"

#include <climits>
#include <clocale>

namespace pelmora {

NumberSeparators localeNumberSeparators()
{
    const std::lconv* conventions = std::localeconv();
    const auto text = [](const char* value) { return value ? std::string(value) : std::string(); };
    NumberSeparators separators;
    if (!text(conventions->decimal_point).empty()) separators.decimalPoint = text(conventions->decimal_point);
    separators.thousandsSeparator = text(conventions->thousands_sep);
    separators.grouping = text(conventions->grouping);
    return separators;
}

uint64_t divideRoundingHalfAway(uint64_t numerator, uint64_t denominator)
{
    if (denominator == 0) return 0;
    const uint64_t quotient = numerator / denominator;
    const uint64_t remainder = numerator % denominator;
    // remainder >= denominator / 2, written so that nothing overflows.
    return remainder >= denominator - remainder ? quotient + 1 : quotient;
}

namespace {

std::string groupDigits(const std::string& digits, const NumberSeparators& separators)
{
    if (separators.thousandsSeparator.empty() || separators.grouping.empty()) return digits;
    // Walk from the right, cutting groups of the sizes the locale gives.
    std::string grouped;
    size_t end = digits.size();
    size_t groupIndex = 0;
    size_t groupSize = 0;
    while (end > 0) {
        if (groupIndex < separators.grouping.size()) {
            const char size = separators.grouping[groupIndex++];
            if (size == CHAR_MAX || size <= 0)
                groupSize = digits.size();  // no further grouping
            else
                groupSize = static_cast<size_t>(size);
        }
        const size_t start = end > groupSize ? end - groupSize : 0;
        const std::string group = digits.substr(start, end - start);
        grouped = start > 0 ? separators.thousandsSeparator + group + grouped : group + grouped;
        end = start;
    }
    return grouped;
}

}  // namespace

std::string formatFixedPoint(uint64_t scaledValue, unsigned decimals, const NumberSeparators& separators)
{
    std::string digits = std::to_string(scaledValue);
    if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
    const std::string whole = digits.substr(0, digits.size() - decimals);
    const std::string fraction = digits.substr(digits.size() - decimals);
    std::string text = groupDigits(whole, separators);
    if (decimals > 0) text += separators.decimalPoint + fraction;
    return text;
}

}  // namespace pelmora
