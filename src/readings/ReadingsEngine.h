#pragma once
// Everything that turns the machine's services into the widget's readings:
// the processor sampler, the network monitor thread, the panels and the
// refresh cycle, with the interval each tick publishes to the monitor. Every
// front end (the Qt widget, the companion command, the Windows widget)
// builds one from its services, its settings store, its controls and its
// refresh timer, and only forwards the timer's ticks to it.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "core/NumberFormat.h"
#include "core/WidgetControls.h"
#include "net/NetMonitorThread.h"
#include "platform/Services.h"
#include "readings/CPUUsage.h"
#include "readings/RefreshCycle.h"
#include "readings/WidgetPanels.h"
#include "settings/SettingsStore.h"

namespace pelmora {

class ReadingsEngine {
public:
    // Starts the network monitor thread; the first tick is the caller's.
    ReadingsEngine(Services& services, SettingsStore& store, WidgetControls& controls, RefreshTimer& timer,
                   DrivePanel::SeparatorsSource separators = localeNumberSeparators,
                   MonitorTiming monitorTiming = {});
    // Stops the monitor thread and waits for it to end.
    ~ReadingsEngine();
    ReadingsEngine(const ReadingsEngine&) = delete;
    ReadingsEngine& operator=(const ReadingsEngine&) = delete;

    // Once, while the widget window is created.
    void showProcessorNameAndClock() { panels_.showProcessorNameAndClock(); }
    // One refresh tick.
    void RefreshTimerTimer() { cycle_.RefreshTimerTimer(); }
    // One network-monitor pass now, waited for; false when it did not end
    // within `timeout`.
    bool refreshNetworkNow(std::chrono::milliseconds timeout = std::chrono::seconds(60))
    {
        return monitor_.refreshNow(timeout);
    }

    const CurrentDrives& currentDrives() const { return cycle_.currentDrives(); }
    const std::vector<std::string>& failedSteps() const { return cycle_.failedSteps(); }
    // The monitor's interface list, as the settings dialog offers it: after a
    // pass of its own (waited for up to five seconds), as while the panel
    // shows no interface passes come only every minute.
    const TrafficList& currentTraffic()
    {
        monitor_.refreshNow(std::chrono::seconds(5));
        return monitor_;
    }
    SettingsStore& store() { return store_; }
    Services& services() { return services_; }

private:
    Services& services_;
    SettingsStore& store_;
    CPUUsage cpuUsage_;  // the sampler's state lives as long as the engine
    std::atomic<uint32_t> intervalMs_{kDesignRefreshIntervalMs};
    TNetMonitorThread monitor_;
    WidgetPanels panels_;
    RefreshCycle cycle_;
};

}  // namespace pelmora
