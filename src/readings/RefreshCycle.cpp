#include "readings/RefreshCycle.h"

#include <exception>

namespace pelmora {

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

int32_t RefreshCycle::readInteger(const IntegerSetting& setting)
{
    try {
        return store_.ReadInteger(setting.name, setting.defaultValue);
    } catch (const SettingsError& error) {
        failedSteps_.push_back(std::string("settings: ") + error.what());
        return setting.defaultValue;
    }
}

std::string RefreshCycle::readString(const TextSetting& setting)
{
    try {
        return store_.ReadString(setting.name, setting.defaultValue);
    } catch (const SettingsError& error) {
        failedSteps_.push_back(std::string("settings: ") + error.what());
        return setting.defaultValue;
    }
}

void RefreshCycle::RefreshTimerTimer()
{
    timer_.setEnabled(false);
    failedSteps_.clear();
    const DrivesRound round(drives_);
    {
        // Held open across the network and memory steps, closed before the drives.
        SettingsKeyScope key(store_);
        const uint32_t interval = refreshIntervalMs(readInteger(SettingsRecord::RefreshSpeed));
        intervalMs_.store(interval);
        timer_.setInterval(interval);
        const int32_t nrNetwork = readInteger(SettingsRecord::NrNetwork);
        const int32_t network1 = readInteger(SettingsRecord::Network1);
        const int32_t network2 = readInteger(SettingsRecord::Network2);
        runStep("network", [&] { panels_.network(nrNetwork, network1, network2); });
        runStep("memory", [&] { panels_.memory(); });
        const std::string drive1 = readString(SettingsRecord::Drive1);
        const std::string drive2 = readString(SettingsRecord::Drive2);
        const int32_t nrDrives = readInteger(SettingsRecord::NrDrives);
        runStep("drives", [&] { current_ = deriveDrives(drive1, drive2, nrDrives, drives_); });
    }
    runStep("drives", [&] { panels_.drives(current_); });
    runStep("status", [&] { panels_.systemStatus(); });
    runStep("processor", [&] { panels_.processor(); });
    timer_.setEnabled(true);
}

}  // namespace pelmora
