#pragma once
#include <cstdint>
#include <string>

namespace pelmora {

class TickCount {
public:
    virtual ~TickCount() = default;
    virtual uint64_t milliseconds() = 0;  // since the system started
};

class Names {
public:
    virtual ~Names() = default;
    virtual bool computerName(std::string& name) = 0;
    virtual bool userName(std::string& name) = 0;
    virtual std::string workgroup() = 0;  // empty when none
};

struct DisplayMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t frequency = 0;
};

class Display {
public:
    virtual ~Display() = default;
    virtual bool currentMode(DisplayMode& mode) = 0;
};

inline constexpr uint32_t kVolumeControlCapability = 4;

class Audio {
public:
    virtual ~Audio() = default;
    // Capability bits of the default output; false without a device.
    virtual bool outputCapabilities(uint32_t& support) = 0;
    // Left level in the low 16 bits, right in the high 16 bits.
    virtual bool outputVolume(uint32_t& volume) = 0;
};

// Battery flag bits and the values that mean "cannot tell".
inline constexpr uint8_t kBatteryFlagHigh = 1;      // above 66 %
inline constexpr uint8_t kBatteryFlagLow = 2;       // below 33 %
inline constexpr uint8_t kBatteryFlagCritical = 4;  // below 5 %
inline constexpr uint8_t kBatteryFlagCharging = 8;
inline constexpr uint8_t kBatteryFlagNoBattery = 128;
inline constexpr uint8_t kBatteryFlagUnknown = 255;
inline constexpr uint8_t kBatteryPercentUnknown = 255;
inline constexpr uint32_t kBatteryTimeUnknown = 0xFFFFFFFF;

struct PowerStatus {
    uint8_t acLineStatus = 255;
    uint8_t batteryFlag = 255;  // 1 high, 2 low, 4 critical, 8 charging, 128 none, 255 unknown
    uint8_t batteryLifePercent = 255;
    uint32_t batteryLifeTime = 0xFFFFFFFF;  // seconds, all bits set when unknown
};

class Power {
public:
    virtual ~Power() = default;
    virtual bool systemPowerStatus(PowerStatus& status) = 0;
};

}  // namespace pelmora
