#include "platform/windows/WindowsNames.h"

#include <windows.h>

#include <cstring>

namespace pelmora {

namespace {

constexpr const char* kWorkgroupKey = "System\\CurrentControlSet\\Services\\Vxd\\VNETSUP";

// The workstation record of information level 100, as the network library
// returns it.
struct WorkstationInfo100 {
    DWORD platformId;
    LPWSTR computerName;
    LPWSTR langroup;
    DWORD verMajor;
    DWORD verMinor;
};
using NetWkstaGetInfoFunction = DWORD(WINAPI*)(LPWSTR server, DWORD level, LPBYTE* buffer);
using NetApiBufferFreeFunction = DWORD(WINAPI*)(LPVOID buffer);

std::string ansiText(const wchar_t* text)
{
    if (text == nullptr) return {};
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string converted(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, converted.data(), bytes, nullptr, nullptr);
    converted.resize(static_cast<size_t>(bytes) - 1);
    return converted;
}

std::string registryWorkgroup()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWorkgroupKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    char value[256] = {};
    DWORD size = sizeof value - 1;  // room for a terminating zero the value may lack
    DWORD type = 0;
    const LSTATUS answer =
        ::RegQueryValueExA(key, "Workgroup", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    ::RegCloseKey(key);
    if (answer != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    return std::string(value, strnlen(value, size));
}

}  // namespace

WindowsNames::~WindowsNames()
{
    if (netapi_) ::FreeLibrary(static_cast<HMODULE>(netapi_));
}

bool WindowsNames::computerName(std::string& name)
{
    char buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof buffer;
    if (!::GetComputerNameA(buffer, &size)) return false;
    name.assign(buffer, size);
    return true;
}

bool WindowsNames::userName(std::string& name)
{
    char buffer[257] = {};  // the longest user name and its terminating zero
    DWORD size = sizeof buffer;
    if (!::GetUserNameA(buffer, &size)) return false;
    name = buffer;
    return true;
}

std::string WindowsNames::workgroup()
{
    std::string group = registryWorkgroup();
    if (group.empty()) group = workstationGroup();
    return group;
}

std::string WindowsNames::workstationGroup()
{
    if (!netapiTried_) {
        netapiTried_ = true;
        netapi_ = ::LoadLibraryA("netapi32.dll");
    }
    if (!netapi_) return {};
    const auto module = static_cast<HMODULE>(netapi_);
    // The library's exports are looked up by name at run time.
    const auto getInfo = reinterpret_cast<NetWkstaGetInfoFunction>(
        reinterpret_cast<void*>(::GetProcAddress(module, "NetWkstaGetInfo")));
    const auto freeBuffer = reinterpret_cast<NetApiBufferFreeFunction>(
        reinterpret_cast<void*>(::GetProcAddress(module, "NetApiBufferFree")));
    if (!getInfo || !freeBuffer) return {};
    LPBYTE buffer = nullptr;
    if (getInfo(nullptr, 100, &buffer) != 0 || buffer == nullptr) return {};
    std::string group = ansiText(reinterpret_cast<const WorkstationInfo100*>(buffer)->langroup);
    freeBuffer(buffer);
    return group;
}

}  // namespace pelmora
