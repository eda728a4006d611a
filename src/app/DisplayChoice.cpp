#include "app/DisplayChoice.h"

namespace pelmora {

namespace {

bool set(const char* value)
{
    return value && *value;
}

}  // namespace

DisplayChoice chooseDisplay(const char* display, const char* waylandDisplay, const char* qtPlatform)
{
    if (set(qtPlatform)) return DisplayChoice::AsSet;
    if (!set(display)) return DisplayChoice::NoDisplay;
    return set(waylandDisplay) ? DisplayChoice::X11 : DisplayChoice::AsSet;
}

std::string noDisplayMessage(const char* waylandDisplay)
{
    if (set(waylandDisplay)) {
        return "pelmora: this Wayland session offers no X display (DISPLAY is not set); the widget needs "
               "X11, which Wayland desktops provide through XWayland\n";
    }
    return "pelmora: no X display to show the widget on (DISPLAY is not set)\n";
}

}  // namespace pelmora
