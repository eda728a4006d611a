#pragma once
// Which display system the widget runs on. Its shape, translucency,
// stacking and single instance are X11's: in a Wayland session it runs on
// the session's X server (XWayland) unless the user chose a Qt platform.
#include <string>

namespace pelmora {

enum class DisplayChoice {
    AsSet,     // an X display, or the Qt platform the user chose
    X11,       // a Wayland session with an X display: take Qt's X11 platform
    NoDisplay  // nothing to show the widget on
};

// From DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM (null or empty: unset).
DisplayChoice chooseDisplay(const char* display, const char* waylandDisplay, const char* qtPlatform);

// What to tell the user for NoDisplay.
std::string noDisplayMessage(const char* waylandDisplay);

}  // namespace pelmora
