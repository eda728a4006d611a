#pragma once
// How an icon's reflection fades: the opacity of each row of the flipped
// picture, the same in every front end.
#include <vector>

namespace pelmora {

inline constexpr int kReflectionStartOpacity = 128;
inline constexpr int kReflectionEndOpacity = 0;

// Opacity (0..255) of each row of the flipped picture, row 0 at the
// picture's bottom edge: (n - i) / n * 128 rounded, 0 from row n on.
std::vector<int> reflectionOpacityRows(int reflectionSize, int rowCount);

}  // namespace pelmora
