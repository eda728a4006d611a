// pelmora-readings: runs the widget's refresh cycle against recording controls
// and prints what every control would show, for scripts and checks.
//
//   pelmora-readings [--json]
//
// It reads the same settings as the widget, takes two processor samples one
// second apart (a load needs two), and prints one `name<TAB>value` line per
// control, then `name.visible`, and for bars `name.left` and `name.width`.
// Exit code 0; 3 when a reading failed (the failures go to stderr); 2 on a
// bad argument.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "app/HeadlessWidget.h"
#include "app/ReadingsReport.h"
#include "platform/ConfigLocation.h"

namespace {

int printReadings(bool json)
{
    std::setlocale(LC_ALL, "");  // drive sizes use the user's separators, as on the widget
    pelmora::HeadlessWidget widget(pelmora::settingsFilePath());
    widget.engine().showProcessorNameAndClock();
    widget.engine().RefreshTimerTimer();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    widget.engine().RefreshTimerTimer();

    std::cout << (json ? pelmora::readingsJson(widget.controls()) : pelmora::readingsText(widget.controls()));
    for (const std::string& failure : widget.engine().failedSteps()) {
        std::cerr << "pelmora-readings: " << failure << "\n";
    }
    return widget.engine().failedSteps().empty() ? 0 : 3;
}

}  // namespace

// A thread stuck in a file system that stopped answering (a share whose
// server went away) cannot be ended, and a process ends only once all its
// threads have. So the readings are taken in a child that closes its output
// when done and hands its exit code up: the command ends on time, and the
// child, if it has to, lingers without holding anyone's pipe.
int main(int argc, char** argv)
{
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            json = true;
        } else {
            std::cerr << "usage: pelmora-readings [--json]\n";
            return 2;
        }
    }

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return printReadings(json);
    const pid_t child = ::fork();
    if (child < 0) return printReadings(json);
    if (child == 0) {
        ::close(report[0]);
        const unsigned char code = static_cast<unsigned char>(printReadings(json));
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
