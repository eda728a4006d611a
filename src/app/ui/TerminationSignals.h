#pragma once
// SIGTERM and SIGHUP (a logout, `kill`, a closed terminal) turned into a Qt
// signal on the user-interface thread, so the widget can close as from its
// menu and save its placement. The handler only writes the signal's number
// to a socket; nothing else runs inside it.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace pelmora {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // One per process: installs the handlers, which stay until it is destroyed.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

signals:
    void received(int signalNumber);

private:
    void readPending();

    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace pelmora
