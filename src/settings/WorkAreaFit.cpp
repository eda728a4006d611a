#include "settings/WorkAreaFit.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace pelmora {

namespace {

int64_t right(const WindowGeometry& g)
{
    return int64_t{g.left} + g.width;
}

int64_t bottom(const WindowGeometry& g)
{
    return int64_t{g.top} + g.height;
}

bool holds(const WindowGeometry& area, const WindowGeometry& window)
{
    return window.left >= area.left && window.top >= area.top && right(window) <= right(area) &&
           bottom(window) <= bottom(area);
}

int64_t overlap(const WindowGeometry& a, const WindowGeometry& b)
{
    const int64_t width = std::min(right(a), right(b)) - std::max<int64_t>(a.left, b.left);
    const int64_t height = std::min(bottom(a), bottom(b)) - std::max<int64_t>(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// Squared distance between the two rectangles (0 when they touch or overlap).
int64_t gap(const WindowGeometry& a, const WindowGeometry& b)
{
    const int64_t dx = std::max<int64_t>({0, int64_t{b.left} - right(a), int64_t{a.left} - right(b)});
    const int64_t dy = std::max<int64_t>({0, int64_t{b.top} - bottom(a), int64_t{a.top} - bottom(b)});
    return dx * dx + dy * dy;
}

int32_t clampInto(int32_t start, int32_t length, int32_t areaStart, int32_t areaLength)
{
    const int64_t last = int64_t{areaStart} + areaLength - length;
    return static_cast<int32_t>(std::max<int64_t>(areaStart, std::min<int64_t>(start, last)));
}

}  // namespace

WindowGeometry fitOntoWorkAreas(const WindowGeometry& window, const std::vector<WindowGeometry>& workAreas)
{
    if (workAreas.empty()) return window;
    for (const WindowGeometry& area : workAreas) {
        if (holds(area, window)) return window;
    }
    const WindowGeometry* best = &workAreas.front();
    int64_t bestOverlap = -1, bestGap = std::numeric_limits<int64_t>::max();
    for (const WindowGeometry& area : workAreas) {
        const int64_t shared = overlap(area, window), distance = gap(area, window);
        if (shared > bestOverlap || (shared == 0 && bestOverlap == 0 && distance < bestGap)) {
            best = &area;
            bestOverlap = shared;
            bestGap = distance;
        }
    }
    WindowGeometry fitted = window;
    fitted.left = clampInto(window.left, window.width, best->left, best->width);
    fitted.top = clampInto(window.top, window.height, best->top, best->height);
    return fitted;
}

}  // namespace pelmora
