#pragma once
#include <cstdint>

namespace pelmora {

// Answers of the table and data queries, with the values callers test for.
inline constexpr uint32_t kSuccess = 0;
inline constexpr uint32_t kErrorInvalidParameter = 87;  // no place to write the needed size
inline constexpr uint32_t kErrorInsufficientBuffer = 122;
inline constexpr uint32_t kErrorMoreData = 234;

}  // namespace pelmora
