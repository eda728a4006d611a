#include "readings/RefreshCycle.h"

#include <algorithm>
#include <exception>

namespace pelmora {

uint32_t refreshIntervalMs(int32_t refreshSpeed)
{
    return static_cast<uint32_t>(std::clamp(refreshSpeed, kMinRefreshSeconds, kMaxRefreshSeconds)) * 1000u;
}

RefreshCycle::RefreshCycle(SettingsStore& store, RefreshTimer& timer, Drives& drives, PanelSteps& panels,
                           std::atomic<uint32_t>& intervalMs)
    : store_(store), timer_(timer), drives_(drives), panels_(panels), intervalMs_(intervalMs)
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

int32_t RefreshCycle::readInteger(const char* name, int32_t defaultValue)
{
    try {
        return store_.ReadInteger(name, defaultValue);
    } catch (const SettingsError& error) {
        failedSteps_.push_back(std::string("settings: ") + error.what());
        return defaultValue;
    }
}

std::string RefreshCycle::readString(const char* name)
{
    try {
        return store_.ReadString(name, "");
    } catch (const SettingsError& error) {
        failedSteps_.push_back(std::string("settings: ") + error.what());
        return {};
    }
}

void RefreshCycle::RefreshTimerTimer()
{
    timer_.setEnabled(false);
    failedSteps_.clear();
    {
        // Held open across the network and memory steps, closed before the drives.
        SettingsKeyScope key(store_);
        const uint32_t interval = refreshIntervalMs(readInteger("RefreshSpeed", 1));
        intervalMs_.store(interval);
        timer_.setInterval(interval);
        const int32_t nrNetwork = readInteger("NrNetwork", 0);
        const int32_t network1 = readInteger("Network1", -1);
        const int32_t network2 = readInteger("Network2", -1);
        runStep("network", [&] { panels_.network(nrNetwork, network1, network2); });
        runStep("memory", [&] { panels_.memory(); });
        const std::string drive1 = readString("Drive1");
        const std::string drive2 = readString("Drive2");
        const int32_t nrDrives = readInteger("NrDrives", 2);
        runStep("drives", [&] { current_ = deriveDrives(drive1, drive2, nrDrives, drives_); });
    }
    runStep("drives", [&] { panels_.drives(current_); });
    runStep("status", [&] { panels_.systemStatus(); });
    runStep("processor", [&] { panels_.processor(); });
    timer_.setEnabled(true);
}

}  // namespace pelmora
