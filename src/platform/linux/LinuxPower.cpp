#include "platform/linux/LinuxPower.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <memory>

#include "platform/linux/RootPath.h"
#include "platform/linux/SysfsText.h"

namespace pelmora {

namespace {

// Larger readings are taken for garbage: 10^12 µWh is a megawatt-hour.
constexpr int64_t kLargestReading = 1000000000000;

std::optional<int64_t> number(const std::string& path)
{
    const std::optional<std::string> text = readFirstLine(path);
    if (!text || text->empty()) return std::nullopt;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
    if (value > kLargestReading || value < -kLargestReading) return std::nullopt;
    return value;
}

// What every answer needs: the status and the capacity. False when the
// battery's folder is gone.
bool readBatteryState(const std::string& dir, BatteryReading& battery)
{
    const std::optional<std::string> status = readFirstLine(dir + "/status");
    if (!status && access(dir.c_str(), F_OK) != 0) return false;
    battery.status = status.value_or("");
    battery.capacityPercent = number(dir + "/capacity");
    return true;
}

// What only a time left, or a charge over several batteries, needs.
void readBatteryContent(const std::string& dir, BatteryReading& battery)
{
    battery.energyNow = number(dir + "/energy_now");
    battery.energyFull = number(dir + "/energy_full");
    battery.powerNow = number(dir + "/power_now");
    battery.chargeNow = number(dir + "/charge_now");
    battery.chargeFull = number(dir + "/charge_full");
    battery.currentNow = number(dir + "/current_now");
    battery.voltage = number(dir + "/voltage_min_design");
    if (!battery.voltage || *battery.voltage <= 0) battery.voltage = number(dir + "/voltage_now");
}

// a * b / c without overflow for readings up to kLargestReading.
__extension__ typedef __int128 Wide;

int64_t mulDiv(int64_t a, int64_t b, int64_t c)
{
    return static_cast<int64_t>(static_cast<Wide>(a) * b / c);
}

// A battery's content and drain in one unit for all batteries: µWh and µW
// where energies are known or charges can be turned into energy, else µAh
// and µA (good enough for a single battery).
struct Content {
    bool energy = false;
    int64_t now = 0;
    int64_t full = 0;
    std::optional<int64_t> rate;
};

std::optional<Content> contentOf(const BatteryReading& b)
{
    const auto positive = [](const std::optional<int64_t>& v) { return v && *v > 0; };
    if (b.energyNow && positive(b.energyFull)) {
        Content c{true, std::max<int64_t>(*b.energyNow, 0), *b.energyFull, std::nullopt};
        if (b.powerNow)
            c.rate = std::llabs(*b.powerNow);  // some drivers sign the drain
        else if (b.currentNow && positive(b.voltage))
            c.rate = mulDiv(std::llabs(*b.currentNow), *b.voltage, 1000000);
        return c;
    }
    if (b.chargeNow && positive(b.chargeFull)) {
        const int64_t now = std::max<int64_t>(*b.chargeNow, 0);
        std::optional<int64_t> rate;
        if (b.currentNow) rate = std::llabs(*b.currentNow);
        if (!positive(b.voltage)) return Content{false, now, *b.chargeFull, rate};
        const int64_t microvolts = *b.voltage;  // µAh * µV / 10^6 = µWh
        Content c{true, mulDiv(now, microvolts, 1000000), mulDiv(*b.chargeFull, microvolts, 1000000),
                  std::nullopt};
        if (rate) c.rate = mulDiv(*rate, microvolts, 1000000);
        return c;
    }
    return std::nullopt;
}

// Each battery's content, or nothing when one lacks it or units differ.
std::optional<std::vector<Content>> contents(const std::vector<BatteryReading>& batteries)
{
    std::vector<Content> all;
    for (const BatteryReading& battery : batteries) {
        std::optional<Content> c = contentOf(battery);
        if (!c || (!all.empty() && c->energy != all.front().energy)) return std::nullopt;
        all.push_back(*c);
    }
    return all;
}

std::optional<int64_t> chargePercent(const std::vector<BatteryReading>& batteries,
                                     const std::optional<std::vector<Content>>& all)
{
    if (batteries.size() == 1 && batteries.front().capacityPercent) return batteries.front().capacityPercent;
    if (all) {
        int64_t now = 0, full = 0;
        for (const Content& c : *all) now += c.now, full += c.full;
        if (full > 0) return (mulDiv(now, 200, full) + 1) / 2;  // to the nearest percent
    }
    int64_t sum = 0;
    for (const BatteryReading& battery : batteries) {
        if (!battery.capacityPercent) return std::nullopt;
        sum += *battery.capacityPercent;
    }
    return sum / static_cast<int64_t>(batteries.size());
}

uint32_t secondsLeft(const std::optional<std::vector<Content>>& all)
{
    if (!all) return kBatteryTimeUnknown;
    int64_t now = 0, rate = 0;
    for (const Content& c : *all) {
        if (!c.rate) return kBatteryTimeUnknown;
        now += c.now;
        rate += *c.rate;
    }
    if (rate <= 0) return kBatteryTimeUnknown;
    const int64_t seconds = mulDiv(now, 3600, rate);
    return seconds >= kBatteryTimeUnknown ? kBatteryTimeUnknown - 1 : static_cast<uint32_t>(seconds);
}

bool hasStatus(const std::vector<BatteryReading>& batteries, const char* status)
{
    return std::any_of(batteries.begin(), batteries.end(),
                       [&](const BatteryReading& b) { return b.status == status; });
}

}  // namespace

PowerStatus combineBatteries(const std::vector<BatteryReading>& batteries, uint8_t acLine)
{
    PowerStatus status;
    status.acLineStatus = acLine;
    if (batteries.empty()) {
        status.batteryFlag = kBatteryFlagNoBattery;
        return status;
    }
    const std::optional<std::vector<Content>> all = contents(batteries);
    const std::optional<int64_t> percent = chargePercent(batteries, all);
    const bool charging = hasStatus(batteries, "Charging");
    const bool discharging = !charging && hasStatus(batteries, "Discharging");
    const bool statusKnown = std::any_of(batteries.begin(), batteries.end(), [](const BatteryReading& b) {
        return !b.status.empty() && b.status != "Unknown";
    });
    if (!percent && !statusKnown) return status;  // flag stays 255

    uint8_t flag = charging ? kBatteryFlagCharging : 0;
    if (percent) {
        const int64_t clamped = std::clamp<int64_t>(*percent, 0, 100);
        status.batteryLifePercent = static_cast<uint8_t>(clamped);
        if (clamped > 66)
            flag |= kBatteryFlagHigh;
        else if (clamped < 5)
            flag |= kBatteryFlagCritical;
        else if (clamped < 33)
            flag |= kBatteryFlagLow;
    }
    status.batteryFlag = flag;
    if (discharging) status.batteryLifeTime = secondsLeft(all);
    if (acLine == 255 && (charging || discharging)) status.acLineStatus = charging ? 1 : 0;
    return status;
}

LinuxPower::LinuxPower(std::string root, Clock now)
    : folder_(underRoot(root, "sys/class/power_supply")), now_(now)
{
}

bool LinuxPower::list()
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder_.c_str()), closedir);
    if (!dir) return false;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());

    supplies_.clear();
    mainsSeen_ = false;
    for (const std::string& name : names) {
        const std::string supply = folder_ + "/" + name;
        if (readFirstLine(supply + "/scope").value_or("") == "Device") continue;
        const std::string type = readFirstLine(supply + "/type").value_or("");
        if (type == "Battery") {
            supplies_.push_back({supply, true, access((supply + "/present").c_str(), F_OK) == 0});
        } else if (type == "Mains" || type == "USB") {
            supplies_.push_back({supply, false, false});
            mainsSeen_ = true;
        }
    }
    listedAt_ = now_();
    return true;
}

bool LinuxPower::readKept(std::vector<BatteryReading>& batteries, std::vector<const std::string*>& folders,
                          bool& mainsOnline) const
{
    for (const Supply& supply : supplies_) {
        if (!supply.battery) {
            const std::optional<int64_t> online = number(supply.folder + "/online");
            if (!online && access(supply.folder.c_str(), F_OK) != 0) return false;
            mainsOnline = mainsOnline || online.value_or(0) == 1;
            continue;
        }
        if (supply.hasPresent && number(supply.folder + "/present").value_or(1) == 0) continue;
        BatteryReading battery;
        if (!readBatteryState(supply.folder, battery)) return false;
        batteries.push_back(std::move(battery));
        folders.push_back(&supply.folder);
    }
    return true;
}

bool LinuxPower::systemPowerStatus(PowerStatus& status)
{
    if (!listedAt_ || now_() - *listedAt_ >= kListKept) {
        if (!list()) return false;
    }
    std::vector<BatteryReading> batteries;
    std::vector<const std::string*> folders;
    bool mainsOnline = false;
    if (!readKept(batteries, folders, mainsOnline)) {
        batteries.clear();
        folders.clear();
        mainsOnline = false;
        if (!list() || !readKept(batteries, folders, mainsOnline)) return false;
    }
    // The status and capacity answer for one battery that is not discharging.
    const bool discharging = std::any_of(batteries.begin(), batteries.end(),
                                         [](const BatteryReading& b) { return b.status == "Discharging"; });
    if (batteries.size() > 1 || discharging ||
        (batteries.size() == 1 && !batteries.front().capacityPercent)) {
        for (size_t index = 0; index < batteries.size(); ++index)
            readBatteryContent(*folders[index], batteries[index]);
    }
    status = combineBatteries(batteries, mainsSeen_ ? (mainsOnline ? 1 : 0) : 255);
    return true;
}

}  // namespace pelmora
