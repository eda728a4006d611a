#pragma once
// One refresh of the whole widget: reads the settings afresh, sets the timer's
// interval and runs the panel steps in their fixed order. The timer is off
// for the length of a tick, so the next one comes a full interval after this
// one ends.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "core/SettingsRecord.h"
#include "platform/Drives.h"
#include "settings/DerivedDrives.h"
#include "settings/SettingsStore.h"

namespace pelmora {

class RefreshTimer {
public:
    virtual ~RefreshTimer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setInterval(uint32_t milliseconds) = 0;
};

// The panel steps of a tick, called in declaration order.
class PanelSteps {
public:
    virtual ~PanelSteps() = default;
    virtual void network(int32_t nrNetwork, int32_t network1, int32_t network2) = 0;
    virtual void memory() = 0;
    virtual void drives(const CurrentDrives& drives) = 0;
    virtual void systemStatus() = 0;
    virtual void processor() = 0;
};

class RefreshCycle {
public:
    // `intervalMs` is where each tick publishes the interval it set; the
    // network monitor pauses by it.
    RefreshCycle(SettingsStore& store, RefreshTimer& timer, Drives& drives, PanelSteps& panels,
                 std::atomic<uint32_t>& intervalMs);

    // One tick. A step that fails leaves its controls as they were; the other
    // steps still run and the timer is enabled again.
    void RefreshTimerTimer();

    const CurrentDrives& currentDrives() const { return current_; }
    // The steps that failed in the last tick, with their messages.
    const std::vector<std::string>& failedSteps() const { return failedSteps_; }

private:
    template <typename Step>
    void runStep(const char* name, Step&& step);
    int32_t readInteger(const IntegerSetting& setting);
    std::string readString(const TextSetting& setting);

    SettingsStore& store_;
    RefreshTimer& timer_;
    Drives& drives_;
    PanelSteps& panels_;
    CurrentDrives current_;
    std::atomic<uint32_t>& intervalMs_;
    std::vector<std::string> failedSteps_;
};

}  // namespace pelmora
