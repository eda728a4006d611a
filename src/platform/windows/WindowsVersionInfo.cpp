#include "platform/windows/WindowsVersionInfo.h"

#include <windows.h>

namespace pelmora {

OsVersion WindowsVersionInfo::version() const
{
    OSVERSIONINFOA info{};
    static_assert(sizeof info == 148);
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion version;
    if (!::GetVersionExA(&info)) return version;
    version.platformId = info.dwPlatformId;
    version.majorVersion = info.dwMajorVersion;
    return version;
}

}  // namespace pelmora
