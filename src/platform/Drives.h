#pragma once
#include <cstdint>
#include <string>

namespace pelmora {

enum DriveType : uint32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamdisk = 6,
};

// Drives by letter (upper or lower case): C is the root file system, then
// D, E, ... for the other local file systems (see docs/platform.md).
class Drives {
public:
    virtual ~Drives() = default;
    virtual DriveType driveType(char letter) = 0;
    // Bytes the caller may still use, and the volume's total bytes.
    virtual bool diskFreeSpace(char letter, uint64_t& freeToCaller, uint64_t& totalBytes) = 0;
    virtual bool volumeLabel(char letter, std::string& label) = 0;
    // False while a query on the drive has not answered in time (a share
    // whose server went away, a stuck device): its space and label then fail
    // at once, without asking again, until the hung query returns.
    virtual bool responding(char /*letter*/) { return true; }
    // The letters of the fixed drives, A to Z, in one look at the drives
    // rather than one per letter.
    virtual std::string fixedDriveLetters()
    {
        std::string letters;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (driveType(letter) == kDriveFixed) letters += letter;
        }
        return letters;
    }
    // Between these two calls the drives may be taken as they were at the
    // first query: a tick asks about the same drives several times within a
    // millisecond, and one look at whether they changed serves them all.
    virtual void beginRound() {}
    virtual void endRound() {}
};

// One round of queries for the lifetime of this object.
class DrivesRound {
public:
    explicit DrivesRound(Drives& drives) : drives_(drives) { drives_.beginRound(); }
    ~DrivesRound() { drives_.endRound(); }
    DrivesRound(const DrivesRound&) = delete;
    DrivesRound& operator=(const DrivesRound&) = delete;

private:
    Drives& drives_;
};

}  // namespace pelmora
