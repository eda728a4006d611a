#include "core/BarDrawing.h"

#include <algorithm>
#include <cmath>

#include "core/BarGlide.h"

namespace pelmora {

int barFillWidth(int barWidth, double position)
{
    // The fill runs inside the grey border.
    const int track = std::max(0, barWidth - 2);
    return static_cast<int>(std::lrint(track * position / BarGlide::kMaximum));
}

BarColumns barChangedColumns(int painted, int filled)
{
    const int from = std::min(filled, painted);
    return {from, std::max(filled, painted) - from + 2};
}

layout::Rgb barGradientRow(const layout::Rgb& top, const layout::Rgb& bottom, int row, int rows)
{
    const double share = rows > 1 ? static_cast<double>(row) / (rows - 1) : 0.0;
    auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return {channel(top.red, bottom.red), channel(top.green, bottom.green), channel(top.blue, bottom.blue)};
}

}  // namespace pelmora
