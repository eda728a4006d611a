#pragma once
// What a front end's widget window is built from: the machine's services,
// the settings, the opener of links and files, and where its placement is
// kept. Both front ends take the same set.
#include <filesystem>

#include "platform/Services.h"
#include "platform/ShellOpen.h"
#include "settings/SettingsStore.h"

namespace pelmora {

struct WidgetDependencies {
    Services& services;
    SettingsStore& store;
    ShellOpen& shellOpen;
    std::filesystem::path placementFile;
};

}  // namespace pelmora
