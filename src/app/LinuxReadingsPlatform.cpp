// The Linux composition: /proc, /sys and X11 services, settings in the
// .reg-syntax file.
#include "app/ReadingsPlatform.h"
#include "platform/ConfigLocation.h"
#include "platform/linux/LinuxServices.h"
#include "settings/RegFileSettingsStore.h"

namespace pelmora {

namespace {

class LinuxReadingsPlatform : public ReadingsPlatform {
public:
    LinuxReadingsPlatform() : store_(settingsFilePath()) {}
    Services& services() override { return linux_.services(); }
    SettingsStore& store() override { return store_; }

private:
    LinuxServices linux_;
    RegFileSettingsStore store_;
};

}  // namespace

std::unique_ptr<ReadingsPlatform> makeReadingsPlatform()
{
    return std::make_unique<LinuxReadingsPlatform>();
}

}  // namespace pelmora
