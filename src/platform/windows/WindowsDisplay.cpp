#include "platform/windows/WindowsDisplay.h"

#include <windows.h>

namespace pelmora {

bool WindowsDisplay::currentMode(DisplayMode& mode)
{
    DEVMODEA settings{};
    static_assert(sizeof settings == 156);
    settings.dmSize = sizeof settings;
    if (!::EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &settings)) return false;
    mode.width = settings.dmPelsWidth;
    mode.height = settings.dmPelsHeight;
    mode.bitsPerPixel = settings.dmBitsPerPel;
    mode.frequency = settings.dmDisplayFrequency;
    return true;
}

}  // namespace pelmora
