#pragma once
// Power status from <root>/sys/class/power_supply.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/SystemStatus.h"

namespace pelmora {

// One system battery as sysfs describes it. Energies in µWh, power in µW,
// charges in µAh, current in µA, voltage in µV; a missing or unreadable
// attribute is empty.
struct BatteryReading {
    std::string status;  // "Charging", "Discharging", "Full", "Not charging", "Unknown"
    std::optional<int64_t> capacityPercent;
    std::optional<int64_t> energyNow, energyFull, powerNow;
    std::optional<int64_t> chargeNow, chargeFull, currentNow;
    std::optional<int64_t> voltage;
};

// The batteries of the system combined into one status:
// - charge: for one battery its own capacity; for several, their energy now
//   over their energy when full (charges turned into energy by the voltage),
//   or the mean of their capacities when energies are missing;
// - flag: 8 while any battery charges, plus 1 above 66 %, 2 from 5 % to
//   32 %, 4 below 5 %, nothing between (a medium charge); 128 without a
//   battery; 255 when neither charge nor status is known;
// - remaining time while discharging: the energy (or charge) left over the
//   rate it is drawn at, in seconds; 0xFFFFFFFF while charging, on mains or
//   when the rate is unknown or zero.
// acLine: 1 on mains, 0 on battery, 255 unknown.
PowerStatus combineBatteries(const std::vector<BatteryReading>& batteries, uint8_t acLine);

class LinuxPower : public Power {
public:
    using Clock = std::chrono::steady_clock::time_point (*)();
    // The folder's supplies are listed again after this long, so a battery
    // put into a bay is seen within it; one taken out is seen at once.
    static constexpr std::chrono::seconds kListKept{10};

    explicit LinuxPower(std::string root = "/", Clock now = std::chrono::steady_clock::now);

    // False only when the power supply folder cannot be read. Supplies of
    // scope "Device" (a mouse, a keyboard, a UPS reported as a peripheral),
    // of other types than Battery and batteries whose `present` is 0 are
    // left out. A call reads a battery's status and capacity, and its
    // energies or charges and drain only where the answer needs them (while
    // it discharges, or with several batteries); a mains supply's `online`.
    bool systemPowerStatus(PowerStatus& status) override;

private:
    struct Supply {
        std::string folder;
        bool battery = false;  // else mains or USB
        bool hasPresent = false;
    };
    bool list();
    // False when a kept supply is gone: the folder is listed again.
    // Each battery read comes with its folder, for what else it may need.
    bool readKept(std::vector<BatteryReading>& batteries, std::vector<const std::string*>& folders,
                  bool& mainsOnline) const;

    std::string folder_;
    Clock now_;
    std::vector<Supply> supplies_;
    bool mainsSeen_ = false;
    std::optional<std::chrono::steady_clock::time_point> listedAt_;
};

}  // namespace pelmora
