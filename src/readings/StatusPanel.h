#pragma once
// The system status panel: uptime, computer, user and workgroup names, screen
// mode, output volume, battery state and battery charge, read afresh and
// written in that order on every tick.
#include <cstdint>
#include <string>

#include "core/WidgetControls.h"
#include "platform/SystemStatus.h"

namespace pelmora {

// Captions for readings the platform could not give.
inline constexpr const char* kScreenModeUnknown = "Unknown";    // no display to ask
inline constexpr const char* kBatteryStateUnknown = "Unknown";  // flag 255 or a failed query
inline constexpr const char* kBatteryTimeNotAvailable = "N/A";

enum class BatteryState { NoBattery, Charging, Critical, Low, Medium, High, Unknown };

// Classified by bits, in this order: 255 unknown, 128 no battery, then
// charging (8), critical (4), low (2), high (1); no level bit is medium.
BatteryState classifyBattery(uint8_t batteryFlag);

// "26 h, 0 min 0 sec": seconds of 1000 ms, hours not wrapped at a day.
std::string uptimeCaption(uint64_t milliseconds);
// "1920x1080 32bpp, 60Hz"; a frequency of 0 or 1 (the hardware default) reads 60.
std::string screenModeCaption(const DisplayMode& mode);
// "L: 74%, R: 74%" from the left level in the low and the right in the high 16 bits.
std::string volumeCaption(uint32_t volume);
std::string batteryStateCaption(BatteryState state);
// "85% (12345)", the charge alone when the remaining time is unknown, "N/A"
// without a battery or with an unknown charge.
std::string batteryTimeCaption(BatteryState state, const PowerStatus& status);

class StatusPanel {
public:
    StatusPanel(WidgetControls& controls, TickCount& tickCount, Names& names, Display& display, Audio& audio,
                Power& power);

    void update();

private:
    std::string volumeReading();

    WidgetControls& controls_;
    TickCount& tickCount_;
    Names& names_;
    Display& display_;
    Audio& audio_;
    Power& power_;
};

}  // namespace pelmora
