#pragma once
// The memory status from <root>/proc/meminfo and <root>/proc/self/status.
//   memory load: (MemTotal - MemAvailable) as a percentage of MemTotal, to
//     the nearest whole percent with halves to the even neighbour; kernels
//     without MemAvailable (before 3.14) count MemFree + Buffers + Cached as
//     available. No usable MemTotal gives a load of 0.
//   virtual: total = the user address space of the process (RLIMIT_AS when
//     lower), free = total - VmSize (0 when VmSize exceeds it). Without a
//     VmSize both are 0.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/MemoryStatus.h"
#include "platform/linux/ProcFileReader.h"

namespace pelmora {

// The value of a "Key:   123 kB" line, in kB; false when the key is missing
// or its value is not a number.
bool procKilobytes(std::string_view text, std::string_view key, uint64_t& kilobytes);

// Load and physical totals from the text of /proc/meminfo.
void physicalMemoryFrom(std::string_view meminfo, MemoryStatus& status);

// Virtual totals from the text of /proc/self/status and the address-space size.
void virtualMemoryFrom(std::string_view selfStatus, uint64_t addressSpaceBytes, MemoryStatus& status);

class LinuxMemoryStatus : public MemoryStatusSource {
public:
    using AddressSpaceBytes = uint64_t (*)();

    // 0x7ffffffff000 on 64-bit (47-bit user space), or RLIMIT_AS when lower.
    static uint64_t processAddressSpaceBytes();

    explicit LinuxMemoryStatus(std::string root = "/",
                               AddressSpaceBytes addressSpace = processAddressSpaceBytes);

    MemoryStatus memoryStatus() override;

private:
    ProcFileReader meminfo_;
    ProcFileReader selfStatus_;
    AddressSpaceBytes addressSpace_;
};

}  // namespace pelmora
