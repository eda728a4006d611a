#include "platform/linux/X11InstanceLocator.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

#include "platform/linux/XErrorGuard.h"

namespace pelmora {

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct XFreeDeleter {
    void operator()(void* data) const
    {
        if (data) XFree(data);
    }
};

DisplayPtr openDisplay()
{
    return DisplayPtr(XOpenDisplay(nullptr));
}

bool hasClass(Display* display, Window window, const std::string& className)
{
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) return false;
    std::unique_ptr<char, XFreeDeleter> name(hint.res_name), cls(hint.res_class);
    return cls && className == cls.get();
}

// The window manager's list of the windows it manages: one round trip, then
// one per client. Hidden windows are not in it.
Window searchClientList(Display* display, const std::string& className)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", True);
    if (clientList == None ||
        XGetWindowProperty(display, DefaultRootWindow(display), clientList, 0, 4096, False, XA_WINDOW, &type,
                           &format, &count, &remaining, &data) != Success) {
        return 0;
    }
    std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
    if (type != XA_WINDOW || format != 32 || data == nullptr) return 0;
    const auto* windows = reinterpret_cast<const Window*>(data);
    for (unsigned long i = 0; i < count; ++i) {
        if (hasClass(display, windows[i], className)) return windows[i];
    }
    return 0;
}

// Top-level windows are children of the root, or (under a reparenting window
// manager) one level below a frame. Hidden windows are found here too.
Window searchTree(Display* display, Window parent, const std::string& className, int depth)
{
    Window root = 0, parentOut = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &parentOut, &children, &count)) return 0;
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
        if (hasClass(display, children[i], className)) return children[i];
    }
    if (depth == 0) return 0;
    for (unsigned int i = 0; i < count; ++i) {
        if (Window found = searchTree(display, children[i], className, depth - 1)) return found;
    }
    return 0;
}

void sendClientMessage(Display* d, Window destination, long eventMask, Window window, const char* type,
                       long first)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = first;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, destination, False, eventMask, &event);
}

}  // namespace

struct X11InstanceLocator::Connection {
    DisplayPtr display;
    Window owner = 0;  // the selection's owner, once claimed
};

X11InstanceLocator::X11InstanceLocator() = default;

X11InstanceLocator::~X11InstanceLocator()
{
    if (connection_ && connection_->owner) XDestroyWindow(connection_->display.get(), connection_->owner);
}

Display* X11InstanceLocator::display()
{
    if (!connection_) connection_ = std::make_unique<Connection>(Connection{openDisplay()});
    return connection_->display.get();
}

WindowHandle X11InstanceLocator::findWindow(const std::string& className)
{
    Display* d = display();
    if (!d) return 0;
    // Without an owner of the selection no widget runs: nothing to look
    // through window by window (a round trip each, hundreds on a desktop).
    const Atom selection = XInternAtom(d, kInstanceSelection, False);
    if (XGetSelectionOwner(d, selection) == None) return 0;
    // A window may vanish between listing it and reading its class; Xlib's
    // default handler would end the process for that.
    XErrorGuard ignore(d);
    if (Window mapped = searchClientList(d, className)) return mapped;
    // A widget hidden in the notification area is only found in the tree.
    return searchTree(d, DefaultRootWindow(d), className, 1);
}

void X11InstanceLocator::setForegroundWindow(WindowHandle window)
{
    Display* d = display();
    if (!d || window == 0) return;
    XErrorGuard ignore(d);  // the window may have gone meanwhile
    const auto target = static_cast<Window>(window);
    // Hidden or iconified, the widget has to show itself: the window manager
    // cannot activate what is not mapped.
    sendClientMessage(d, target, NoEventMask, target, kForegroundMessage, 0);
    sendClientMessage(d, DefaultRootWindow(d), SubstructureRedirectMask | SubstructureNotifyMask, target,
                      "_NET_ACTIVE_WINDOW", 2 /* from a pager-like tool */);
    XSync(d, False);
}

bool X11InstanceLocator::claimInstance()
{
    Display* d = display();
    if (!d) return true;  // no display, no other widget to share it with
    if (connection_->owner) return true;
    const Atom selection = XInternAtom(d, kInstanceSelection, False);
    // Looking and taking under one grab: no other client's request can come
    // between them.
    XGrabServer(d);
    const bool free = XGetSelectionOwner(d, selection) == None;
    Window window = 0;
    if (free) {
        window = XCreateWindow(d, DefaultRootWindow(d), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                               CopyFromParent, 0, nullptr);
        XSetSelectionOwner(d, selection, window, CurrentTime);
    }
    XUngrabServer(d);
    XSync(d, False);
    if (!free) return false;
    connection_->owner = window;
    return true;
}

}  // namespace pelmora
