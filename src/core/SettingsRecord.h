#pragma once
// The settings key's seven values, each with its name, its default and the
// range the settings dialog writes, and the rules for reading them. Every
// reader and writer names a value through this record, so that a name or a
// default is written once.
//
// Every value is stored as text. An integer is written as its decimal text
// ("-1") and read back as a signed 32-bit number; a missing, empty or
// non-numeric text, or a number beyond 32 bits, reads as the default. A text
// value reads as stored, an empty one as empty; only a missing one takes the
// default.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace pelmora {

// A stored value outside [minimum, maximum] is read as it stands; each
// reader decides what it makes of it (the refresh interval clamps it).
struct IntegerSetting {
    const char* name;
    int32_t defaultValue;
    int32_t minimum;
    int32_t maximum;
};

struct TextSetting {
    const char* name;
    const char* defaultValue;
};

struct SettingsRecord {
    // Seconds between two refreshes of the widget.
    static constexpr IntegerSetting RefreshSpeed{"RefreshSpeed", 1, 1, 60};
    // How many drives are monitored.
    static constexpr IntegerSetting NrDrives{"NrDrives", 2, 1, 2};
    // The monitored drives' letters ("C"); a longer text such as "C:\" counts
    // by its first character. Drive2 counts only while NrDrives is 2. The
    // defaults differ by reader: the refresh cycle reads a missing value as
    // empty and derives the drive itself, while the settings dialog passes
    // the widget's current drives, so that it opens with the drives shown.
    static constexpr TextSetting Drive1{"Drive1", ""};
    static constexpr TextSetting Drive2{"Drive2", ""};
    // How many network interfaces are monitored.
    static constexpr IntegerSetting NrNetwork{"NrNetwork", 0, 0, 2};
    // Positions in the network monitor's interface list, -1 for none.
    static constexpr IntegerSetting Network1{"Network1", -1, -1, std::numeric_limits<int32_t>::max()};
    static constexpr IntegerSetting Network2{"Network2", -1, -1, std::numeric_limits<int32_t>::max()};
};

// The refresh timer's interval as designed; the first tick replaces it
// before the timer can fire.
inline constexpr uint32_t kDesignRefreshIntervalMs = 3000;

// RefreshSpeed seconds in milliseconds, held within the dialog's range
// whatever the store holds, so the widget never stops refreshing and never
// spins.
uint32_t refreshIntervalMs(int32_t refreshSpeed);

// What is stored for a drive: the text's first character; empty stays empty.
std::string driveLetterText(std::string_view text);

}  // namespace pelmora
