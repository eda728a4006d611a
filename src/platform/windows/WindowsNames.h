#pragma once
// The computer's and the user's names, and the workgroup or domain: the
// workgroup value the registry may hold for the network client, else the
// workstation's LAN group from the network library, loaded when first asked.
#include "platform/SystemStatus.h"

namespace pelmora {

class WindowsNames : public Names {
public:
    WindowsNames() = default;
    ~WindowsNames() override;
    WindowsNames(const WindowsNames&) = delete;
    WindowsNames& operator=(const WindowsNames&) = delete;

    bool computerName(std::string& name) override;
    bool userName(std::string& name) override;
    // Empty when neither source names one (or the library is missing).
    std::string workgroup() override;

private:
    std::string workstationGroup();

    void* netapi_ = nullptr;  // the network library, once loaded
    bool netapiTried_ = false;
};

}  // namespace pelmora
