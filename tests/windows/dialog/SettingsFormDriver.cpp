// Opens the settings dialog over no owner against the current user's
// settings key, as the widget does from its menu, for the end-to-end test
// under Wine. Prints "applied" or "cancelled" when the dialog closes (exit
// code 0 or 1), and "open <target>" for every file the dialog hands to the
// shell.
//
//   pelmora_dialog_driver.exe [--interface DESCRIPTION ADDRESS]...
// Each --interface adds a connected interface to the dialog's list, in order.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/SettingsRecord.h"
#include "net/fakes/FakeTrafficList.h"
#include "platform/windows/WindowsDrives.h"
#include "platform/windows/WindowsVersionInfo.h"
#include "settings/DerivedDrives.h"
#include "settings/RegistrySettingsStore.h"
#include "win32/dialog/SettingsForm.h"

namespace {

using namespace pelmora;

class PrintingShellOpen : public ShellOpen {
public:
    void open(const std::string& target) override
    {
        std::printf("open %s\n", target.c_str());
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    FakeTrafficList interfaces;  // each one connected
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--interface") == 0 && i + 2 < argc) {
            interfaces.add(argv[i + 1], argv[i + 2]);
            i += 2;
        } else {
            std::fprintf(stderr, "usage: %s [--interface DESCRIPTION ADDRESS]...\n", argv[0]);
            return 2;
        }
    }

    WindowsDrives drives;
    WindowsVersionInfo version;
    PrintingShellOpen shell;
    RegistrySettingsStore store;
    // The drives a widget started on an empty key would show.
    const CurrentDrives current = deriveDrives("", "", SettingsRecord::NrDrives.defaultValue, drives);
    const bool applied = ShowSettingsForm(nullptr, store, current, drives, interfaces, version, shell);
    std::printf("%s\n", applied ? "applied" : "cancelled");
    return applied ? 0 : 1;
}
