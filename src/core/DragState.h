#pragma once
// Dragging the widget: a left-button press on either window grabs it, moves
// take the background window to the cursor less the grab point and the widget
// window after it, and a release of any button on either window lets go.
// Both windows stand at the same place, so client coordinates of either one
// measure from the same corner. Plain C++ against two tiny interfaces, so the
// tests drive it without windows.

namespace pelmora {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

enum class DragButton { Left, Right, Middle, Other };

// The two windows as the drag sees them.
class DragWindows {
public:
    virtual ~DragWindows() = default;
    virtual void raiseWidget() = 0;
    virtual void moveBackground(ScreenPoint topLeft) = 0;
    // Where the background window actually stands (the window manager may
    // have kept it from where it was asked to go).
    virtual ScreenPoint backgroundTopLeft() const = 0;
    virtual void moveWidget(ScreenPoint topLeft) = 0;
};

class DragState {
public:
    explicit DragState(DragWindows& windows) : windows_(windows) {}

    // Raises the widget window for every button; only the left one grabs.
    void mouseDown(DragButton button, ScreenPoint clientPos);
    // The cursor in screen coordinates; does nothing unless dragging.
    void mouseMove(ScreenPoint cursor);
    // Any button ends the drag.
    void mouseUp(DragButton button);

    bool dragging() const { return dragging_; }
    ScreenPoint grabPoint() const { return grab_; }

private:
    DragWindows& windows_;
    bool dragging_ = false;
    ScreenPoint grab_;
};

}  // namespace pelmora
