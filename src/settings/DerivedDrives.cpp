#include "settings/DerivedDrives.h"

#include <cctype>

namespace pelmora {

namespace {

// `except` is compared without regard to case: a first drive stored as "c"
// is the same drive as C and must not be picked again as the second.
std::string firstFixedDrive(Drives& drives, char except)
{
    const int exceptUpper = std::toupper(static_cast<unsigned char>(except));
    for (const char letter : drives.fixedDriveLetters()) {
        if (letter != exceptUpper) return std::string(1, letter);
    }
    return {};
}

}  // namespace

CurrentDrives deriveDrives(const std::string& drive1, const std::string& drive2, int32_t nrDrives,
                           Drives& drives)
{
    CurrentDrives current{drive1, drive2};
    if (current.first.empty()) current.first = firstFixedDrive(drives, '\0');
    if (nrDrives == 2 && current.second.empty()) {
        const char firstLetter = current.first.empty() ? '\0' : current.first[0];
        current.second = firstFixedDrive(drives, firstLetter);
    }
    if (nrDrives == 1) current.second.clear();
    return current;
}

}  // namespace pelmora
