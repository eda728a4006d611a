#include "app/ui/ForegroundRequests.h"

#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <QGuiApplication>

#include "platform/linux/X11InstanceLocator.h"

namespace pelmora {

ForegroundRequests::ForegroundRequests(QWindow* window, std::function<void()> onRequest)
    : window_(window), onRequest_(std::move(onRequest))
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return;
    messageType_ = XInternAtom(x11->display(), kForegroundMessage, False);
    qGuiApp->installNativeEventFilter(this);
}

ForegroundRequests::~ForegroundRequests()
{
    if (messageType_ && qGuiApp) qGuiApp->removeNativeEventFilter(this);
}

bool ForegroundRequests::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->type != messageType_ || client->window != window_->winId()) return false;
    onRequest_();
    return true;
}

}  // namespace pelmora
