#include "core/IntegerText.h"

#include <charconv>

#include "core/TextTrim.h"

namespace pelmora {

std::optional<int32_t> parseInt32(std::string_view text)
{
    text = trimBlanks(text);
    // from_chars takes '-' but not '+'; a '+' must not be followed by a second sign.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace pelmora
