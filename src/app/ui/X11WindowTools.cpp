#include "app/ui/X11WindowTools.h"

#include <QtGui/qguiapplication_platform.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <QGuiApplication>
#include <cstring>

namespace pelmora::x11 {

namespace {

Display* display()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

Atom atom(Display* d, const char* name)
{
    return XInternAtom(d, name, False);
}

// _NET_WM_STATE change request: action 0 removes, 1 adds.
void sendWmState(Display* d, Window window, long action, const char* first, const char* second)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom(d, "_NET_WM_STATE");
    event.xclient.format = 32;
    event.xclient.data.l[0] = action;
    event.xclient.data.l[1] = static_cast<long>(atom(d, first));
    event.xclient.data.l[2] = second ? static_cast<long>(atom(d, second)) : 0;
    event.xclient.data.l[3] = 1;  // from a normal application
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

}  // namespace

void setWindowClass(QWindow* window, const char* instanceName, const char* className)
{
    Display* d = display();
    if (!d || !window) return;
    XClassHint hint;
    hint.res_name = const_cast<char*>(instanceName);
    hint.res_class = const_cast<char*>(className);
    XSetClassHint(d, static_cast<Window>(window->winId()), &hint);
    XFlush(d);
}

void skipTaskbarAndPager(QWindow* window)
{
    Display* d = display();
    if (!d || !window) return;
    sendWmState(d, static_cast<Window>(window->winId()), 1, "_NET_WM_STATE_SKIP_TASKBAR",
                "_NET_WM_STATE_SKIP_PAGER");
    XFlush(d);
}

void setLayer(QWindow* window, Layer layer)
{
    Display* d = display();
    if (!d || !window) return;
    const Window id = static_cast<Window>(window->winId());
    const bool above = layer == Layer::OnTop;
    sendWmState(d, id, 0, above ? "_NET_WM_STATE_BELOW" : "_NET_WM_STATE_ABOVE", nullptr);
    sendWmState(d, id, 1, above ? "_NET_WM_STATE_ABOVE" : "_NET_WM_STATE_BELOW", nullptr);
    XFlush(d);
}

void stackAbove(QWindow* window, QWindow* sibling)
{
    Display* d = display();
    if (!d || !window || !sibling) return;
    // Through the window manager, which owns the frames.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window->winId());
    event.xclient.message_type = atom(d, "_NET_RESTACK_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = static_cast<long>(sibling->winId());
    event.xclient.data.l[2] = Above;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(d);
}

}  // namespace pelmora::x11
