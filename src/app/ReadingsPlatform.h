#pragma once
// The services and settings store of the operating system the program is
// built for. Each system has its own composition file
// (LinuxReadingsPlatform.cpp, WindowsReadingsPlatform.cpp); the build
// compiles the one for its target.
#include <functional>
#include <memory>

#include "platform/Services.h"
#include "settings/SettingsStore.h"

namespace pelmora {

class ReadingsPlatform {
public:
    virtual ~ReadingsPlatform() = default;
    virtual Services& services() = 0;
    virtual SettingsStore& store() = 0;
};

// The real services and the user's own settings.
std::unique_ptr<ReadingsPlatform> makeReadingsPlatform();

// Runs `readings` so that the command ends with its exit code even when a
// query is stuck for good in a file system that stopped answering (on Linux,
// in a child process that may linger; elsewhere, directly).
int runReadingsToTheEnd(const std::function<int()>& readings);

}  // namespace pelmora
