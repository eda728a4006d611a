#include "app/ui/X11WindowTools.h"

#include <QtGui/qguiapplication_platform.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <QGuiApplication>
#include <cstring>
#include <optional>
#include <vector>

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

// The child of the root that holds `window`: its frame under a reparenting
// window manager. 0 when the window is gone.
Window frameOf(Display* d, Window window)
{
    const Window root = DefaultRootWindow(d);
    for (int depth = 0; depth < 8; ++depth) {
        Window rootOut = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(d, window, &rootOut, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        if (parent == root) return window;
        window = parent;
    }
    return 0;
}

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The window's place on the screen, when it is mapped.
std::optional<Box> viewableBox(Display* d, Window window)
{
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, window, &a) || a.map_state != IsViewable) return std::nullopt;
    return Box{a.x, a.y, a.x + a.width + 2 * a.border_width, a.y + a.height + 2 * a.border_width};
}

bool overlap(const Box& a, const Box& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
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

void showInTaskbar(QWindow* window)
{
    Display* d = display();
    if (!d || !window) return;
    sendWmState(d, static_cast<Window>(window->winId()), 0, "_NET_WM_STATE_SKIP_TASKBAR", nullptr);
    XFlush(d);
}

bool setShape(QWindow* window, const QRegion& devicePixels)
{
    Display* d = display();
    if (!d || !window) return false;
    std::vector<XRectangle> rectangles;
    for (const QRect& r : devicePixels) {
        rectangles.push_back({static_cast<short>(r.x()), static_cast<short>(r.y()),
                              static_cast<unsigned short>(r.width()),
                              static_cast<unsigned short>(r.height())});
    }
    const auto id = static_cast<Window>(window->winId());
    const int count = static_cast<int>(rectangles.size());
    XShapeCombineRectangles(d, id, ShapeBounding, 0, 0, rectangles.data(), count, ShapeSet, YXBanded);
    XShapeCombineRectangles(d, id, ShapeInput, 0, 0, rectangles.data(), count, ShapeSet, YXBanded);
    XFlush(d);
    return true;
}

bool setBackgroundPixels(QWindow* window, const QImage& devicePixels)
{
    Display* d = display();
    if (!d || !window || devicePixels.isNull()) return false;
    const auto id = static_cast<Window>(window->winId());
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, id, &a) || !a.visual || (a.depth != 24 && a.depth != 32)) return false;
    if (a.visual->red_mask != 0xff0000 || a.visual->green_mask != 0xff00 || a.visual->blue_mask != 0xff)
        return false;
    // Without alpha in the window, the colour channels alone.
    const QImage pixels = devicePixels.convertToFormat(a.depth == 32 ? QImage::Format_ARGB32_Premultiplied
                                                                     : QImage::Format_RGB32);
    const auto width = static_cast<unsigned>(pixels.width()), height = static_cast<unsigned>(pixels.height());
    XImage* image = XCreateImage(d, a.visual, static_cast<unsigned>(a.depth), ZPixmap, 0,
                                 const_cast<char*>(reinterpret_cast<const char*>(pixels.constBits())), width,
                                 height, 32, static_cast<int>(pixels.bytesPerLine()));
    if (!image) return false;
    const bool fits = image->bits_per_pixel == 32;
    if (fits) {
        image->byte_order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
        const Pixmap pixmap = XCreatePixmap(d, id, width, height, static_cast<unsigned>(a.depth));
        GC gc = XCreateGC(d, pixmap, 0, nullptr);
        XPutImage(d, pixmap, gc, image, 0, 0, 0, 0, width, height);
        XFreeGC(d, gc);
        XSetWindowBackgroundPixmap(d, id, pixmap);
        XFreePixmap(d, pixmap);  // the window holds it on
        XClearWindow(d, id);
        XFlush(d);
    }
    image->data = nullptr;  // the pixels are the QImage's
    XDestroyImage(image);
    return fits;
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
    XWindowChanges changes{};
    changes.sibling = static_cast<Window>(sibling->winId());
    changes.stack_mode = Above;
    XReconfigureWMWindow(d, static_cast<Window>(window->winId()), DefaultScreen(d), CWSibling | CWStackMode,
                         &changes);
    XFlush(d);
}

bool isDirectlyAbove(QWindow* window, QWindow* sibling)
{
    Display* d = display();
    if (!d || !window || !sibling) return true;
    const Window root = DefaultRootWindow(d);
    const Window upper = frameOf(d, static_cast<Window>(window->winId()));
    const Window lower = frameOf(d, static_cast<Window>(sibling->winId()));
    const std::optional<Box> upperBox = viewableBox(d, upper);
    if (upper == 0 || lower == 0 || !upperBox) return true;
    Window rootOut = 0, parentOut = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, root, &rootOut, &parentOut, &children, &count)) return true;
    bool lowerSeen = false, answer = false, decided = false;
    for (unsigned int i = 0; i < count && !decided; ++i) {  // bottom to top
        if (children[i] == lower) {
            lowerSeen = true;
        } else if (children[i] == upper) {
            answer = lowerSeen;
            decided = true;
        } else if (lowerSeen) {
            // Something between them covering the widget; a panel elsewhere
            // on the screen may stand there.
            const std::optional<Box> box = viewableBox(d, children[i]);
            decided = box && overlap(*box, *upperBox);
        }
    }
    if (children) XFree(children);
    return answer;
}

}  // namespace pelmora::x11
