#include "platform/linux/LinuxMemoryStatus.h"

#include <sys/resource.h>

#include <limits>

#include "platform/linux/RootPath.h"

namespace pelmora {

namespace {

__extension__ typedef unsigned __int128 uint128;

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
constexpr uint64_t kUserAddressSpace64 = 0x7ffffffff000;  // 47-bit user space less one guard page
constexpr uint64_t kUserAddressSpace32 = 0xc0000000;

uint64_t bytesOfKilobytes(uint64_t kilobytes)
{
    return kilobytes > kMax / 1024 ? kMax : kilobytes * 1024;
}

uint64_t saturatingAdd(uint64_t a, uint64_t b)
{
    return a > kMax - b ? kMax : a + b;
}

// used / total in whole percent, halves to the even neighbour.
uint32_t percentRoundedHalfEven(uint64_t used, uint64_t total)
{
    const uint128 scaled = uint128{used} * 100;
    uint64_t percent = static_cast<uint64_t>(scaled / total);
    const uint128 twiceRest = (scaled % total) * 2;
    if (twiceRest > total || (twiceRest == total && percent % 2 == 1)) ++percent;
    return static_cast<uint32_t>(percent);
}

}  // namespace

bool procKilobytes(std::string_view text, std::string_view key, uint64_t& kilobytes)
{
    size_t lineAt = 0;
    while (lineAt < text.size()) {
        size_t lineEnd = text.find('\n', lineAt);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        const std::string_view line = text.substr(lineAt, lineEnd - lineAt);
        lineAt = lineEnd + 1;
        if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ':')
            continue;

        size_t at = key.size() + 1;
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        if (at == line.size() || line[at] < '0' || line[at] > '9') return false;
        uint64_t value = 0;
        for (; at < line.size() && line[at] >= '0' && line[at] <= '9'; ++at) {
            const auto digit = static_cast<uint64_t>(line[at] - '0');
            value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
        }
        kilobytes = value;
        return true;
    }
    return false;
}

void physicalMemoryFrom(std::string_view meminfo, MemoryStatus& status)
{
    status.memoryLoad = 0;
    status.totalPhys = 0;
    status.availPhys = 0;
    uint64_t totalKb = 0;
    if (!procKilobytes(meminfo, "MemTotal", totalKb) || totalKb == 0) return;

    uint64_t availableKb = 0;
    if (!procKilobytes(meminfo, "MemAvailable", availableKb)) {
        uint64_t freeKb = 0, buffersKb = 0, cachedKb = 0;
        procKilobytes(meminfo, "MemFree", freeKb);
        procKilobytes(meminfo, "Buffers", buffersKb);
        procKilobytes(meminfo, "Cached", cachedKb);
        availableKb = saturatingAdd(saturatingAdd(freeKb, buffersKb), cachedKb);
    }
    if (availableKb > totalKb) availableKb = totalKb;

    status.memoryLoad = percentRoundedHalfEven(totalKb - availableKb, totalKb);
    status.totalPhys = bytesOfKilobytes(totalKb);
    status.availPhys = bytesOfKilobytes(availableKb);
}

void virtualMemoryFrom(std::string_view selfStatus, uint64_t addressSpaceBytes, MemoryStatus& status)
{
    status.totalVirtual = 0;
    status.availVirtual = 0;
    uint64_t vmSizeKb = 0;
    if (!procKilobytes(selfStatus, "VmSize", vmSizeKb)) return;
    const uint64_t inUse = bytesOfKilobytes(vmSizeKb);
    status.totalVirtual = addressSpaceBytes;
    status.availVirtual = inUse < addressSpaceBytes ? addressSpaceBytes - inUse : 0;
}

uint64_t LinuxMemoryStatus::processAddressSpaceBytes()
{
    const uint64_t userSpace = sizeof(void*) == 8 ? kUserAddressSpace64 : kUserAddressSpace32;
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < userSpace)
        return limit.rlim_cur;
    return userSpace;
}

LinuxMemoryStatus::LinuxMemoryStatus(std::string root, AddressSpaceBytes addressSpace)
    : meminfo_(underRoot(root, "proc/meminfo"), 8192, ProcFileReader::Pieces::One),
      selfStatus_(underRoot(root, "proc/self/status"), 4096, ProcFileReader::Pieces::One),
      addressSpace_(addressSpace)
{
}

MemoryStatus LinuxMemoryStatus::memoryStatus()
{
    MemoryStatus status;
    physicalMemoryFrom(meminfo_.read(), status);
    virtualMemoryFrom(selfStatus_.read(), addressSpace_(), status);
    return status;
}

}  // namespace pelmora
