#include "platform/windows/WindowsMemoryStatus.h"

#include <windows.h>

namespace pelmora {

MemoryStatus WindowsMemoryStatus::memoryStatus()
{
    // The extended query: the plain one clips its sizes at 4 GiB on some
    // systems, and the 64-bit address space of this process is 128 TiB.
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    MemoryStatus result;
    if (!::GlobalMemoryStatusEx(&status)) return result;
    result.memoryLoad = status.dwMemoryLoad;
    result.totalPhys = status.ullTotalPhys;
    result.availPhys = status.ullAvailPhys;
    result.totalVirtual = status.ullTotalVirtual;
    result.availVirtual = status.ullAvailVirtual;
    return result;
}

}  // namespace pelmora
