#pragma once
// The widget's readings without a window: the real Linux services, the
// processor sampler, the network monitor and the refresh cycle, writing to
// recording controls. The companion command and the benchmarks run it.
#include <atomic>
#include <filesystem>

#include "net/NetMonitorThread.h"
#include "platform/linux/LinuxServices.h"
#include "readings/CPUUsage.h"
#include "readings/RecordingControls.h"
#include "readings/RefreshCycle.h"
#include "readings/WidgetPanels.h"

namespace pelmora {

class HeadlessWidget {
public:
    explicit HeadlessWidget(const std::filesystem::path& settingsFile);
    HeadlessWidget(const HeadlessWidget&) = delete;
    HeadlessWidget& operator=(const HeadlessWidget&) = delete;

    RecordingWidget& controls() { return controls_; }
    WidgetPanels& panels() { return panels_; }
    RefreshCycle& cycle() { return cycle_; }

private:
    class NoTimer : public RefreshTimer {
    public:
        void setEnabled(bool) override {}
        void setInterval(uint32_t) override {}
    };

    LinuxServices linux_;
    CPUUsage cpuUsage_;
    SettingsStore store_;
    std::atomic<uint32_t> intervalMs_{kDesignRefreshIntervalMs};
    TNetMonitorThread monitor_;
    RecordingWidget controls_;
    WidgetPanels panels_;
    NoTimer timer_;
    RefreshCycle cycle_;
};

}  // namespace pelmora
