#include "platform/linux/XErrorGuard.h"

#include <X11/Xlib.h>

namespace pelmora {

namespace {

thread_local ::Display* guardedDisplay = nullptr;
thread_local bool* guardedLost = nullptr;
thread_local XErrorHandler previousProtocolHandler = nullptr;
thread_local XIOErrorHandler previousIoHandler = nullptr;

int onProtocolError(::Display* display, XErrorEvent* error)
{
    if (display == guardedDisplay || !previousProtocolHandler) return 0;
    return previousProtocolHandler(display, error);
}

int onIoError(::Display* display)
{
    if (display == guardedDisplay || !previousIoHandler) {
        if (guardedLost) *guardedLost = true;
        return 0;
    }
    return previousIoHandler(display);
}

}  // namespace

XErrorGuard::XErrorGuard(_XDisplay* display, bool* lost)
{
    guardedDisplay = display;
    guardedLost = lost;
    previousProtocolHandler = XSetErrorHandler(onProtocolError);
    previousIoHandler = XSetIOErrorHandler(onIoError);
}

XErrorGuard::~XErrorGuard()
{
    XSetErrorHandler(previousProtocolHandler);
    XSetIOErrorHandler(previousIoHandler);
    guardedDisplay = nullptr;
    guardedLost = nullptr;
}

void XErrorGuard::guardConnection(_XDisplay* display)
{
    guardedDisplay = display;
}

}  // namespace pelmora
