// The Windows composition: the system's own services, settings in the
// current user's registry.
#include "app/ReadingsPlatform.h"
#include "platform/windows/WindowsServices.h"
#include "settings/RegistrySettingsStore.h"

namespace pelmora {

namespace {

class WindowsReadingsPlatform : public ReadingsPlatform {
public:
    Services& services() override { return windows_.services(); }
    SettingsStore& store() override { return store_; }

private:
    WindowsServices windows_;
    RegistrySettingsStore store_;
};

}  // namespace

std::unique_ptr<ReadingsPlatform> makeReadingsPlatform()
{
    return std::make_unique<WindowsReadingsPlatform>();
}

// A thread stuck in a query does not keep a Windows process from ending.
int runReadingsToTheEnd(const std::function<int()>& readings)
{
    return readings();
}

}  // namespace pelmora
