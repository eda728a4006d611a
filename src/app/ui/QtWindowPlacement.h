#pragma once
// A Qt window's placement in the placement file: restored each time the
// window is about to become visible, saved when it closes or is destroyed.
#include <QWidget>

#include "settings/PlacementFile.h"

namespace pelmora {

class QtWindowPlacement {
public:
    QtWindowPlacement(QWidget& window, std::filesystem::path file, std::string section, bool restoreState);

    // Moves the window to its stored place (and state, when asked for).
    void restore();
    void saveOnClose();
    void saveOnDestroy();
    // While the window stands (after a drag, when the session is ending).
    void saveWhileShown();

private:
    CurrentWindow current() const;
    WindowPlacement placement() const;

    QWidget& window_;
    PlacementTracker tracker_;
    bool restoreState_;
};

// Moves the window wholly onto the nearest monitor's work area when no
// monitor holds it wholly (see fitOntoWorkAreas).
void moveOntoAMonitor(QWidget& window);

}  // namespace pelmora
