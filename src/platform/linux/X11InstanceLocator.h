#pragma once
#include <memory>

#include "platform/InstanceLocator.h"

struct _XDisplay;

namespace pelmora {

inline constexpr const char* kInstanceSelection = "_PELMORA_INSTANCE";
// The client message a second start sends to the running widget's window.
inline constexpr const char* kForegroundMessage = "_PELMORA_FOREGROUND";

// Looks for a top-level X11 window by its WM_CLASS class, mapped or not (a
// widget hidden in the notification area still counts), where a widget owns
// the selection below: with no owner there is no running widget to find.
// Without a display there is no running instance to find. One connection
// serves the look, the claim and the owner's life.
//
// The one widget of a display is the owner of the selection
// kInstanceSelection, taken under a server grab so that two starts at the
// same moment cannot both win; the X server gives it up when the process
// ends, however it ends.
class X11InstanceLocator : public InstanceLocator {
public:
    X11InstanceLocator();
    ~X11InstanceLocator() override;
    X11InstanceLocator(const X11InstanceLocator&) = delete;
    X11InstanceLocator& operator=(const X11InstanceLocator&) = delete;

    WindowHandle findWindow(const std::string& className) override;
    // _NET_ACTIVE_WINDOW to the window manager, and kForegroundMessage to the
    // window itself, so a widget hidden in the notification area or iconified
    // shows itself again.
    void setForegroundWindow(WindowHandle window) override;
    bool claimInstance() override;

private:
    struct Connection;
    _XDisplay* display();  // opened on first use; null without a display
    std::unique_ptr<Connection> connection_;
};

}  // namespace pelmora
