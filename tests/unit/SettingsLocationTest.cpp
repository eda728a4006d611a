// Where the settings and placement files live.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/ConfigLocation.h"

namespace pelmora {
namespace {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv()
    {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsLocation, FollowsTheConfigHomeAndNeverFallsBackToASharedFolder)
{
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
        ScopedEnv home("HOME", "/home/u");
        EXPECT_EQ(settingsFilePath(), "/cfg/Talvessa/Talvessa.reg");
        EXPECT_EQ(placementFilePath(), "/cfg/Talvessa/pelmora.INI");
    }
    for (const char* xdgValue : {static_cast<const char*>(nullptr), "", "relative/cfg"}) {
        ScopedEnv xdg("XDG_CONFIG_HOME", xdgValue);
        ScopedEnv home("HOME", "/home/u");
        EXPECT_EQ(settingsFilePath(), "/home/u/.config/Talvessa/Talvessa.reg")
            << (xdgValue ? xdgValue : "unset");
    }
    {
        // Without HOME the account's home folder is used.
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        ScopedEnv home("HOME", nullptr);
        const passwd* account = ::getpwuid(::getuid());
        ASSERT_NE(account, nullptr);
        EXPECT_EQ(configDirectory(), std::filesystem::path(account->pw_dir) / ".config" / "Talvessa");
        EXPECT_NE(configDirectory().string().rfind("/tmp", 0), 0u);
    }
}

}  // namespace
}  // namespace pelmora
