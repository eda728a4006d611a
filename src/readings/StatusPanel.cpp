#include "readings/StatusPanel.h"

namespace pelmora {

namespace {

uint32_t levelPercent(uint32_t level)
{
    return level * 100 / 65535;
}

}  // namespace

BatteryState classifyBattery(uint8_t batteryFlag)
{
    if (batteryFlag == kBatteryFlagUnknown) return BatteryState::Unknown;
    if (batteryFlag & kBatteryFlagNoBattery) return BatteryState::NoBattery;
    if (batteryFlag & kBatteryFlagCharging) return BatteryState::Charging;
    if (batteryFlag & kBatteryFlagCritical) return BatteryState::Critical;
    if (batteryFlag & kBatteryFlagLow) return BatteryState::Low;
    if (batteryFlag & kBatteryFlagHigh) return BatteryState::High;
    return BatteryState::Medium;
}

std::string uptimeCaption(uint64_t milliseconds)
{
    const uint64_t seconds = milliseconds / 1000;
    return std::to_string(seconds / 3600) + " h, " + std::to_string(seconds / 60 % 60) + " min " +
           std::to_string(seconds % 60) + " sec";
}

std::string screenModeCaption(const DisplayMode& mode)
{
    const uint32_t frequency = mode.frequency <= 1 ? 60 : mode.frequency;
    return std::to_string(mode.width) + "x" + std::to_string(mode.height) + " " +
           std::to_string(mode.bitsPerPixel) + "bpp, " + std::to_string(frequency) + "Hz";
}

std::string volumeCaption(uint32_t volume)
{
    return "L: " + std::to_string(levelPercent(volume & 0xFFFF)) +
           "%, R: " + std::to_string(levelPercent(volume >> 16)) + "%";
}

std::string batteryStateCaption(BatteryState state)
{
    switch (state) {
        case BatteryState::NoBattery:
            return "No battery";
        case BatteryState::Charging:
            return "Charging";
        case BatteryState::Critical:
            return "Critical battery";
        case BatteryState::Low:
            return "Low battery";
        case BatteryState::Medium:
            return "Medium battery";
        case BatteryState::High:
            return "High battery";
        case BatteryState::Unknown:
            break;
    }
    return kBatteryStateUnknown;
}

std::string batteryTimeCaption(BatteryState state, const PowerStatus& status)
{
    if (state == BatteryState::NoBattery || state == BatteryState::Unknown) return kBatteryTimeNotAvailable;
    if (status.batteryLifePercent == kBatteryPercentUnknown) return kBatteryTimeNotAvailable;
    const std::string charge = std::to_string(status.batteryLifePercent) + "%";
    if (status.batteryLifeTime == kBatteryTimeUnknown) return charge;
    return charge + " (" + std::to_string(status.batteryLifeTime) + ")";
}

StatusPanel::StatusPanel(WidgetControls& controls, TickCount& tickCount, Names& names, Display& display,
                         Audio& audio, Power& power)
    : controls_(controls),
      tickCount_(tickCount),
      names_(names),
      display_(display),
      audio_(audio),
      power_(power)
{
}

std::string StatusPanel::volumeReading()
{
    uint32_t support = 0;
    uint32_t volume = 0;
    if (!audio_.outputCapabilities(support) || !(support & kVolumeControlCapability) ||
        !audio_.outputVolume(volume)) {
        volume = 0;
    }
    return volumeCaption(volume);
}

void StatusPanel::update()
{
    controls_.lblUpTime->setText(uptimeCaption(tickCount_.milliseconds()));

    std::string name;
    controls_.lblCompName->setText(names_.computerName(name) ? name : std::string());
    name.clear();
    controls_.lblLocalUser->setText(names_.userName(name) ? name : std::string());
    controls_.lblDomainName->setText(names_.workgroup());

    DisplayMode mode;
    controls_.lblRes->setText(display_.currentMode(mode) ? screenModeCaption(mode) : kScreenModeUnknown);

    controls_.lblVol->setText(volumeReading());

    PowerStatus status;
    const bool known = power_.systemPowerStatus(status);
    const BatteryState state = known ? classifyBattery(status.batteryFlag) : BatteryState::Unknown;
    controls_.lblBatStatus->setText(batteryStateCaption(state));
    controls_.lblBatTime->setText(batteryTimeCaption(state, status));
}

}  // namespace pelmora
