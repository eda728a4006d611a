// The Linux composition: /proc, /sys and X11 services, settings in the
// .reg-syntax file.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>

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

// A thread stuck in a file system that stopped answering (a share whose
// server went away) cannot be ended, and a process ends only once all its
// threads have. So the readings are taken in a child that closes its output
// when done and hands its exit code up: the command ends on time, and the
// child, if it has to, lingers without holding anyone's pipe.
int runReadingsToTheEnd(const std::function<int()>& readings)
{
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return readings();
    const pid_t child = ::fork();
    if (child < 0) return readings();
    if (child == 0) {
        ::close(report[0]);
        const unsigned char code = static_cast<unsigned char>(readings());
        std::cout.flush();
        std::cerr.flush();
        ::close(STDOUT_FILENO);
        ::close(STDERR_FILENO);
        [[maybe_unused]] const ssize_t written = ::write(report[1], &code, 1);
        _exit(code);
    }
    ::close(report[1]);
    unsigned char code = 0;
    if (::read(report[0], &code, 1) == 1) {
        // Reaped when it ends at once, as it does unless a thread is stuck.
        for (int waited = 0; waited < 500 && ::waitpid(child, nullptr, WNOHANG) == 0; ++waited)
            ::usleep(1000);
        return code;
    }
    int status = 0;  // the child ended without a word: a crash
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace pelmora
