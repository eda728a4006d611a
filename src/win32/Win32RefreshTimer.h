#pragma once
// The refresh cycle's timer as a timer of the widget window. Enabling
// restarts the countdown, so the next tick comes a full interval after this
// one ends.
#include <windows.h>

#include "readings/RefreshCycle.h"

namespace pelmora {

class Win32RefreshTimer : public RefreshTimer {
public:
    static constexpr UINT_PTR kTimerId = 1;

    void setWindow(HWND window) { window_ = window; }
    void setEnabled(bool enabled) override
    {
        enabled_ = enabled;
        if (!window_) return;
        if (enabled)
            ::SetTimer(window_, kTimerId, intervalMs_, nullptr);
        else
            ::KillTimer(window_, kTimerId);
    }
    void setInterval(uint32_t milliseconds) override
    {
        intervalMs_ = milliseconds;
        if (enabled_) setEnabled(true);
    }

private:
    HWND window_ = nullptr;
    UINT intervalMs_ = kDesignRefreshIntervalMs;
    bool enabled_ = false;
};

}  // namespace pelmora
