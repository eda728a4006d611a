#include "app/ui/TerminationSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace pelmora {

namespace {

constexpr int kHandledSignals[] = {SIGTERM, SIGHUP};

// The socket pair: the handler writes to [0], the notifier reads [1].
int signalSocket[2] = {-1, -1};

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signalNumber);
    // A full socket drops the byte: a request to end is pending already.
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalSocket) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(signalSocket[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPending);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kHandledSignals) ::sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_) return;
    for (int signalNumber : kHandledSignals) std::signal(signalNumber, SIG_DFL);
    notifier_.reset();
    for (int& fd : signalSocket) {
        ::close(fd);
        fd = -1;
    }
}

void TerminationSignals::readPending()
{
    char byte = 0;
    while (::read(signalSocket[1], &byte, 1) == 1) emit received(static_cast<unsigned char>(byte));
}

}  // namespace pelmora
