#pragma once
// The process entry's decisions, apart from Qt: one running widget per
// desktop, and only on the platform family it is written for.
#include <functional>
#include <string>

#include "platform/InstanceLocator.h"
#include "platform/VersionInfo.h"

namespace pelmora {

inline constexpr const char* kMainWindowClass = "TVantelMainForm";
inline constexpr const char* kBackWindowClass = "TBackForm";
inline constexpr const char* kApplicationTitle = "Pelmora";
inline constexpr const char* kWrongPlatformMessage = "This program requires Windows NT.";

struct StartupActions {
    std::function<void(const std::string& text)> showMessage;  // a plain OK box
    std::function<int()> runWidget;                            // windows and the message loop
};

// A running instance gets the foreground request and this process ends with
// 0, as it does when another start claimed the widget first; a wrong platform gets the message and ends with
// 0; otherwise the widget runs and its exit code is returned.
int runStartup(InstanceLocator& instances, const VersionInfo& version, const StartupActions& actions);

}  // namespace pelmora
