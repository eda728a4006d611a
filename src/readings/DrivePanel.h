#pragma once
// The drive panel: for each of up to two monitored drives, a caption with the
// letter, volume label and size, a bar with the share in use and that share
// as a percentage.
#include <cstdint>
#include <string>

#include "core/NumberFormat.h"
#include "core/WidgetControls.h"
#include "platform/Drives.h"
#include "settings/DerivedDrives.h"

namespace pelmora {

// What a row shows when it cannot measure its drive (no medium, a removed or
// unknown drive, or a volume under 1 MiB): the caption ends in this instead
// of the size, the bar stands at 0 and the percentage label reads "N/A".
inline constexpr const char* kDriveNotAvailable = "[not available]";
inline constexpr const char* kPercentNotAvailable = "N/A";
// The same for a drive whose query did not answer in time (a share whose
// server went away, a stuck device); the step then reports the drive as
// failed, after both rows are written.
inline constexpr const char* kDriveNotResponding = "[not responding]";
// The first row's caption when there is no first drive at all (no fixed
// drive on the machine and none chosen).
inline constexpr const char* kNoDriveCaption = "No drive";

// The share of the volume in use, in percent: 100 - (free MiB * 100 div size
// MiB). Free space above the size counts as all free.
uint32_t usedSharePercent(uint64_t freeMiB, uint64_t sizeMiB);

// The size in GB (MiB / 1024) with two decimals, rounded half away from zero.
std::string driveSizeGB(uint64_t sizeMiB, const NumberSeparators& separators);

// " (LABEL)" with the label upper-cased by the locale of LC_CTYPE, or a
// single blank when the label holds nothing but blanks and control characters.
std::string volumePart(const std::string& label);

class DrivePanel {
public:
    using SeparatorsSource = NumberSeparators (*)();

    // The separators come from the C library locale unless a source is given.
    DrivePanel(WidgetControls& controls, Drives& drives,
               SeparatorsSource separators = localeNumberSeparators);

    // Throws std::runtime_error naming the drives that did not respond.
    void update(const CurrentDrives& current);

private:
    struct Row {
        Label* caption;
        Label* percentage;
        Bar* bar;
    };
    // False when the drive did not respond.
    bool showDrive(const std::string& drive, const Row& row, const NumberSeparators& separators);

    WidgetControls& controls_;
    Drives& drives_;
    SeparatorsSource separators_;
};

}  // namespace pelmora
