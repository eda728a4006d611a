#include "core/ReflectionRows.h"

#include <algorithm>
#include <cmath>

namespace pelmora {

std::vector<int> reflectionOpacityRows(int reflectionSize, int rowCount)
{
    std::vector<int> rows(static_cast<size_t>(std::max(rowCount, 0)), 0);
    if (reflectionSize <= 0) return rows;
    const double n = reflectionSize;
    for (int i = 0; i < rowCount && i < reflectionSize; ++i) {
        const double opacity = (n - i) / n * kReflectionStartOpacity + i / n * kReflectionEndOpacity;
        rows[static_cast<size_t>(i)] = static_cast<int>(std::nearbyint(opacity));  // halves to even
    }
    return rows;
}

}  // namespace pelmora
