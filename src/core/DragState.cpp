#include "core/DragState.h"

namespace pelmora {

void DragState::mouseDown(DragButton button, ScreenPoint clientPos)
{
    windows_.raiseWidget();
    if (button != DragButton::Left) return;
    grab_ = clientPos;
    dragging_ = true;
}

void DragState::mouseMove(ScreenPoint cursor)
{
    if (!dragging_) return;
    windows_.moveBackground({cursor.x - grab_.x, cursor.y - grab_.y});
    // The widget follows the background in the same move, so the grab point
    // stays under the cursor on both.
    windows_.moveWidget(windows_.backgroundTopLeft());
}

void DragState::mouseUp(DragButton)
{
    dragging_ = false;
}

}  // namespace pelmora
