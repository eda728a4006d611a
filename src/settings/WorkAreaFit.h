#pragma once
// Keeps a restored or stranded window reachable: a window that is not wholly
// on some monitor's work area (after an undock, or from a hand-edited
// position) moves, wholly, onto the nearest one.
#include <vector>

#include "settings/PlacementFile.h"

namespace pelmora {

// Where `window` should stand: unchanged when one work area holds it wholly;
// otherwise on the work area it overlaps most, or, overlapping none, the one
// nearest to it, moved no further than needed. A window larger than that
// area keeps its top-left corner on it. No work areas: unchanged.
WindowGeometry fitOntoWorkAreas(const WindowGeometry& window, const std::vector<WindowGeometry>& workAreas);

}  // namespace pelmora
