#pragma once
// One window's placement in the placement file (settings/PlacementFile), as
// the Win32 windows read and write it.
#include <windows.h>

#include <filesystem>
#include <string>

#include "settings/PlacementFile.h"

namespace pelmora {

class Win32WindowPlacement {
public:
    Win32WindowPlacement(std::filesystem::path file, std::string section, bool restoreState)
        : tracker_(std::move(file), std::move(section)), restoreState_(restoreState)
    {
    }

    void setWindow(HWND window) { window_ = window; }
    // Before the window first shows: where it stood last time.
    void restore();
    void saveWhileShown();
    void saveOnClose();
    void saveOnDestroy();

private:
    CurrentWindow current() const;
    WindowPlacement placement() const;

    HWND window_ = nullptr;
    PlacementTracker tracker_;
    bool restoreState_;
};

// Moves `window` wholly onto the work area of a monitor when it stands off
// every one (a monitor removed since, another resolution).
void moveOntoAMonitor(HWND window);

}  // namespace pelmora
