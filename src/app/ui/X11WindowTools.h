#pragma once
// The few X11 requests Qt does not make for us, each sent at once (requests
// made from timers would otherwise wait for the next X event). Each is a
// no-op on other platforms (the offscreen one of the widget tests included).
#include <QImage>
#include <QRegion>
#include <QWindow>

namespace pelmora::x11 {

// WM_CLASS, by which a second start finds the running widget. Set it again
// whenever Qt re-creates the native window.
void setWindowClass(QWindow* window, const char* instanceName, const char* className);

// Neither taskbar nor pager entry; window managers forget it on hide.
void skipTaskbarAndPager(QWindow* window);
// A taskbar entry again, the way back to an iconified window.
void showInTaskbar(QWindow* window);

// Sets the window's shape, for sight and for the mouse, to a region in
// device pixels. False off X11.
bool setShape(QWindow* window, const QRegion& devicePixels);

// Makes premultiplied pixels of the window's size in device pixels its
// background: the server keeps them and repaints exposures from them
// without the program. False off X11 and where the window's visual does not
// take 32-bit pixels of 8-bit red, green and blue.
bool setBackgroundPixels(QWindow* window, const QImage& devicePixels);

enum class Layer { OnTop, AtBottom };
// Moves the window into the topmost band or to the bottom of the stacking
// order through _NET_WM_STATE, without re-creating the native window.
void setLayer(QWindow* window, Layer layer);

// Restacks `window` directly above `sibling`: through the window manager
// (_NET_RESTACK_WINDOW), and through the ICCCM's synthetic configure request
// for window managers that ignore the first.
void stackAbove(QWindow* window, QWindow* sibling);

// True when `window` stands directly above `sibling` in the X server's real
// stacking of their frames: no mapped window between them covers any of
// `window`. Also true off X11, and while either is not mapped.
bool isDirectlyAbove(QWindow* window, QWindow* sibling);

}  // namespace pelmora::x11
