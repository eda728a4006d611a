#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/linux/LinuxDisplay.h"

using namespace pelmora;

namespace {

// A private X server for one test, started with -displayfd so that the test
// waits for it to be ready instead of sleeping.
class VirtualServer {
public:
    // Without a name the server picks a free display number.
    explicit VirtualServer(const std::string& name = "")
    {
        int fds[2];
        if (access("/usr/bin/Xvfb", X_OK) != 0 || pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
            dup2(null, STDOUT_FILENO);
            const std::string fd = std::to_string(fds[1]);
            if (name.empty()) {
                execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                      "-nolisten", "tcp", static_cast<char*>(nullptr));
            } else {
                execl("/usr/bin/Xvfb", "Xvfb", name.c_str(), "-displayfd", fd.c_str(), "-screen", "0",
                      "800x600x16", "-nolisten", "tcp", static_cast<char*>(nullptr));
            }
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd ready{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&ready, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) name_ = ":" + number;
    }
    ~VirtualServer() { stop(); }
    void stop()
    {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

}  // namespace

TEST(ModeRefresh, ComesFromThePixelClockAndTotals)
{
    EXPECT_EQ(modeRefreshHz(148500000, 2200, 1125, false, false), 60u);  // 1080p60
    EXPECT_EQ(modeRefreshHz(148352000, 2200, 1125, false, false), 60u);  // 59.94 rounds up
    EXPECT_EQ(modeRefreshHz(241500000, 2720, 1481, false, false), 60u);  // 59.95 reduced blanking
    EXPECT_EQ(modeRefreshHz(74250000, 2200, 1125, true, false), 60u);    // 1080i: two fields a frame
    EXPECT_EQ(modeRefreshHz(25175000, 800, 525, false, true), 30u);      // double scan
    EXPECT_EQ(modeRefreshHz(25175000, 0, 525, false, false), 0u);
    EXPECT_EQ(modeRefreshHz(25175000, 800, 0, false, false), 0u);
}

TEST(LinuxDisplay, NoServerMeansNoMode)
{
    LinuxDisplay display(":pelmora-none");
    DisplayMode mode{1, 2, 3, 4};
    EXPECT_FALSE(display.currentMode(mode));
    EXPECT_FALSE(display.currentMode(mode));
    EXPECT_EQ(mode.width, 1u);
}

TEST(LinuxDisplay, ReadsAVirtualScreenAndSurvivesItsServerGoingAway)
{
    VirtualServer server;
    if (server.name().empty()) GTEST_SKIP() << "Xvfb not available";
    LinuxDisplay display(server.name());
    DisplayMode mode;
    ASSERT_TRUE(display.currentMode(mode));
    EXPECT_EQ(mode.width, 1280u);
    EXPECT_EQ(mode.height, 1024u);
    EXPECT_EQ(mode.bitsPerPixel, 32u);       // depth 24 stored in 32 bits
    ASSERT_TRUE(display.currentMode(mode));  // the kept connection answers again

    server.stop();
    EXPECT_FALSE(display.currentMode(mode));
    EXPECT_FALSE(display.currentMode(mode));

    // A server that comes back on the same display is found again.
    VirtualServer again(server.name());
    ASSERT_EQ(again.name(), server.name());
    ASSERT_TRUE(display.currentMode(mode));
    EXPECT_EQ(mode.width, 800u);
    EXPECT_EQ(mode.height, 600u);
    EXPECT_EQ(mode.bitsPerPixel, 16u);
}
