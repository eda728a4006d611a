#pragma once
// How a bar of the widget is drawn, the same in every front end: a grey
// one-pixel border around its background, and inside it a fill as wide as
// its position's share of the track, with a vertical gradient and a border
// of its own.
#include "core/LayoutTable.h"

namespace pelmora {

inline constexpr layout::Rgb kBarBorder{192, 192, 192};

// Width in pixels of the fill of a bar `barWidth` wide at `position` (0..100).
int barFillWidth(int barWidth, double position);

// The columns (from the bar's left edge) to paint again when the fill's
// width goes from `painted` to `filled`: those between the two edges, the
// fill's border column beside each edge included.
struct BarColumns {
    int left, width;
};
BarColumns barChangedColumns(int painted, int filled);

// The gradient's colour in `row` of `rows`: the first row exactly `top`, the
// last exactly `bottom`.
layout::Rgb barGradientRow(const layout::Rgb& top, const layout::Rgb& bottom, int row, int rows);

}  // namespace pelmora
