#pragma once
#include <cctype>
#include <map>
#include <string>

#include "platform/Drives.h"

namespace pelmora {

// Drives by letter, as the test sets them up.
class FakeDrives : public Drives {
public:
    struct Drive {
        DriveType type = kDriveFixed;
        bool measurable = true;
        uint64_t freeBytes = 0;
        uint64_t totalBytes = 0;
        bool labelReadable = true;
        std::string label;
        bool responding = true;  // false: every query fails as one that ran out of time
    };

    Drive& add(char letter) { return add(letter, Drive{}); }
    Drive& add(char letter, Drive drive) { return drives_[upper(letter)] = drive; }
    void remove(char letter) { drives_.erase(upper(letter)); }

    DriveType driveType(char letter) override
    {
        auto it = drives_.find(upper(letter));
        return it == drives_.end() ? kDriveNoRootDir : it->second.type;
    }
    bool diskFreeSpace(char letter, uint64_t& freeToCaller, uint64_t& totalBytes) override
    {
        auto it = drives_.find(upper(letter));
        if (it == drives_.end() || !it->second.measurable || !it->second.responding) return false;
        freeToCaller = it->second.freeBytes;
        totalBytes = it->second.totalBytes;
        return true;
    }
    bool volumeLabel(char letter, std::string& label) override
    {
        auto it = drives_.find(upper(letter));
        if (it == drives_.end() || !it->second.labelReadable || !it->second.responding) return false;
        label = it->second.label;
        return true;
    }
    bool responding(char letter) override
    {
        auto it = drives_.find(upper(letter));
        return it == drives_.end() || it->second.responding;
    }

private:
    static char upper(char letter)
    {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    }
    std::map<char, Drive> drives_;
};

}  // namespace pelmora
