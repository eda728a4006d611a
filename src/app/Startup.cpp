#include "app/Startup.h"

namespace pelmora {

int runStartup(InstanceLocator& instances, const VersionInfo& version, const StartupActions& actions)
{
    if (instances.findWindow(kMainWindowClass) != 0) {
        instances.setForegroundWindow(instances.findWindow(kMainWindowClass));
        return 0;
    }
    // Another start got here first and its window is still on its way.
    if (!instances.claimInstance()) return 0;
    if (version.version().platformId != 2) {
        actions.showMessage(kWrongPlatformMessage);
        return 0;
    }
    return actions.runWidget();
}

}  // namespace pelmora
