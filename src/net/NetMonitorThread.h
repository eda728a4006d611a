#pragma once
// The background thread that keeps one traffic record per interface with an
// IPv4 address. Records are only ever appended, so a position names the same
// interface for the whole run.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "net/TrafficList.h"
#include "net/TrafficUnit.h"

namespace pelmora {

struct MonitorTiming {
    // Where the records take the time of their updates from.
    std::function<std::chrono::steady_clock::time_point()> now = [] {
        return std::chrono::steady_clock::now();
    };
    // No pause is shorter than this, so a refresh interval of 0 (a hand-edited
    // setting) does not keep a processor busy with back-to-back passes.
    std::chrono::milliseconds minimumPause{100};
};

class TNetMonitorThread : public TrafficList {
public:
    // Starts at once. `intervalMs` is the widget's refresh interval, read anew
    // before each pause. `ipHelper` and `intervalMs` must outlive the monitor.
    TNetMonitorThread(IpHelperService& ipHelper, const std::atomic<uint32_t>& intervalMs,
                      MonitorTiming timing = {});
    // Stops and waits for the run to end (it ends within one pass), so the
    // thread never touches the monitor after it is gone.
    ~TNetMonitorThread() override;
    TNetMonitorThread(const TNetMonitorThread&) = delete;
    TNetMonitorThread& operator=(const TNetMonitorThread&) = delete;

    int32_t TrafficCount() const override;
    // A copy of the record at `position` (0 <= position < TrafficCount()),
    // taken under the list's lock; std::out_of_range outside the list.
    TTraffic TrafficAt(int32_t position) const override;
    // Wakes the pause at once; the run ends after the current pass.
    void StopMonitoring();

private:
    void run();
    void refreshPass();
    bool pause();  // false once a stop was asked for
    TTraffic* findRecord(uint32_t interfaceIndex);

    IpHelperService& ipHelper_;
    const std::atomic<uint32_t>& intervalMs_;  // its own guard: written by the refresh tick
    const MonitorTiming timing_;

    // Guards the list, every record in it and the stop flag. The monitor holds
    // it for each append, each record update and each stop check, never while
    // it reads the tables; readers hold it for the count and for each copy.
    mutable std::mutex mutex_;
    std::condition_variable stopRequested_;
    bool stopping_ = false;
    std::vector<TTraffic> records_;

    std::thread thread_;  // last, so it starts after everything it uses
};

}  // namespace pelmora
