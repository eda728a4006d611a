#include "readings/RefreshCycle.h"

#include <algorithm>
#include <exception>

namespace pelmora {

uint32_t refreshIntervalMs(int32_t refreshSpeed)
{
    return static_cast<uint32_t>(std::clamp(refreshSpeed, kMinRefreshSeconds, kMaxRefreshSeconds)) * 1000u;
}

RefreshCycle::RefreshCycle(SettingsStore& store, RefreshTimer& timer, Drives& drives, PanelSteps& panels)
    : store_(store), timer_(timer), drives_(drives), panels_(panels)
{
}

template <typename Step>
void RefreshCycle::runStep(const char* name, Step&& step)
{
    try {
        step();
    } catch (const std::exception& error) {
        failedSteps_.push_back(std::string(name) + ": " + error.what());
    }
}

void RefreshCycle::RefreshTimerTimer()
{
    timer_.setEnabled(false);
    failedSteps_.clear();
    {
        // Held open across the network and memory steps, closed before the drives.
        SettingsKeyScope key(store_);
        int32_t nrNetwork = 0, network1 = -1, network2 = -1;
        runStep("settings", [&] {
            const uint32_t interval = refreshIntervalMs(store_.ReadInteger("RefreshSpeed", 1));
            intervalMs_.store(interval);
            timer_.setInterval(interval);
            nrNetwork = store_.ReadInteger("NrNetwork", 0);
            network1 = store_.ReadInteger("Network1", -1);
            network2 = store_.ReadInteger("Network2", -1);
        });
        runStep("network", [&] { panels_.network(nrNetwork, network1, network2); });
        runStep("memory", [&] { panels_.memory(); });
        runStep("settings", [&] {
            const std::string drive1 = store_.ReadString("Drive1", "");
            const std::string drive2 = store_.ReadString("Drive2", "");
            const int32_t nrDrives = store_.ReadInteger("NrDrives", 2);
            current_ = deriveDrives(drive1, drive2, nrDrives, drives_);
        });
    }
    runStep("drives", [&] { panels_.drives(current_); });
    runStep("status", [&] { panels_.systemStatus(); });
    runStep("processor", [&] { panels_.processor(); });
    timer_.setEnabled(true);
}

}  // namespace pelmora
