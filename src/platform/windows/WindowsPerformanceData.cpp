#include "platform/windows/WindowsPerformanceData.h"

#include <windows.h>

#include "platform/ErrorCodes.h"

namespace pelmora {

WindowsPerformanceData::~WindowsPerformanceData()
{
    if (queried_) ::RegCloseKey(HKEY_PERFORMANCE_DATA);
}

uint32_t WindowsPerformanceData::query(const char* valueName, uint8_t* buffer, uint32_t* size)
{
    if (valueName == nullptr || size == nullptr) return kErrorInvalidParameter;
    queried_ = true;
    DWORD bytes = *size;
    const LSTATUS answer =
        ::RegQueryValueExA(HKEY_PERFORMANCE_DATA, valueName, nullptr, nullptr, buffer, &bytes);
    // The size written back on "more data" is not the size needed for this
    // key, so the caller's own growth rule decides the next size.
    if (answer == ERROR_SUCCESS) *size = bytes;
    return static_cast<uint32_t>(answer);
}

}  // namespace pelmora
