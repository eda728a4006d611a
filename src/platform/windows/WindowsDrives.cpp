#include "platform/windows/WindowsDrives.h"

#include <windows.h>

namespace pelmora {

namespace {

// "X:\" for a letter, nothing for any other character.
bool rootPath(char letter, char (&root)[4])
{
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    if (!isLetter) return false;
    root[0] = letter;
    root[1] = ':';
    root[2] = '\\';
    root[3] = '\0';
    return true;
}

// Keeps the system from asking the user to insert a medium while in scope.
class NoCriticalErrorDialogs {
public:
    NoCriticalErrorDialogs() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &saved_); }
    ~NoCriticalErrorDialogs() { ::SetThreadErrorMode(saved_, nullptr); }
    NoCriticalErrorDialogs(const NoCriticalErrorDialogs&) = delete;
    NoCriticalErrorDialogs& operator=(const NoCriticalErrorDialogs&) = delete;

private:
    DWORD saved_ = 0;
};

}  // namespace

DriveType WindowsDrives::driveType(char letter)
{
    char root[4];
    if (!rootPath(letter, root)) return kDriveNoRootDir;
    const UINT type = ::GetDriveTypeA(root);
    return type <= kDriveRamdisk ? static_cast<DriveType>(type) : kDriveUnknown;
}

bool WindowsDrives::diskFreeSpace(char letter, uint64_t& freeToCaller, uint64_t& totalBytes)
{
    char root[4];
    if (!rootPath(letter, root)) return false;
    NoCriticalErrorDialogs quiet;
    ULARGE_INTEGER available{}, total{};
    if (!::GetDiskFreeSpaceExA(root, &available, &total, nullptr)) return false;
    freeToCaller = available.QuadPart;
    totalBytes = total.QuadPart;
    return true;
}

bool WindowsDrives::volumeLabel(char letter, std::string& label)
{
    char root[4];
    if (!rootPath(letter, root)) return false;
    NoCriticalErrorDialogs quiet;
    char name[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationA(root, name, sizeof name, nullptr, nullptr, nullptr, nullptr, 0))
        return false;
    label = name;
    return true;
}

}  // namespace pelmora
