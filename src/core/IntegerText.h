#pragma once
// Integer values kept as text (settings values, placement keys).
#include <cstdint>
#include <optional>
#include <string_view>

namespace pelmora {

// Signed 32-bit decimal: optional blanks (space or tab) around it, an optional
// '+' or '-', then decimal digits only. Anything else, an empty text or a
// number outside the 32-bit range: nothing.
std::optional<int32_t> parseInt32(std::string_view text);

}  // namespace pelmora
