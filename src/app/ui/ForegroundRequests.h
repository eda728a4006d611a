#pragma once
// Receives the foreground request a second start sends to the running
// widget's window (kForegroundMessage), so a widget hidden in the
// notification area or iconified comes back. A no-op off X11.
#include <QAbstractNativeEventFilter>
#include <QWindow>
#include <functional>

namespace pelmora {

class ForegroundRequests : public QAbstractNativeEventFilter {
public:
    ForegroundRequests(QWindow* window, std::function<void()> onRequest);
    ~ForegroundRequests() override;
    ForegroundRequests(const ForegroundRequests&) = delete;
    ForegroundRequests& operator=(const ForegroundRequests&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWindow* window_;
    std::function<void()> onRequest_;
    unsigned long messageType_ = 0;
};

}  // namespace pelmora
