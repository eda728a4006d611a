#pragma once
// The background thread that keeps one traffic record per interface with an
// IPv4 address. Records are only ever appended, so a position names the same
// interface for the whole run; a record whose interface has left the table
// keeps its position in a few bytes.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
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
    // False: no pass of its own, not even at start; passes run only when
    // refreshNow asks, so a caller knows exactly what each one measured.
    bool paced = true;
    // The pause while no panel shows a record (see setRecordsShown): the
    // list still finds new interfaces and renews its counters, but the thread
    // wakes once in this pause instead of once in every refresh interval.
    std::chrono::milliseconds unshownPause{60000};
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
    // taken under the list's lock; std::out_of_range outside the list. The
    // record of an interface that has left the table keeps its index and
    // address, reads "Not Connected", moves nothing and has no description.
    TTraffic TrafficAt(int32_t position) const override;
    // Wakes the pause at once; the run ends after the current pass.
    void StopMonitoring();
    // Whether a panel shows the records (set by each refresh tick). Paced
    // passes come every refresh interval while one does, every unshown pause
    // while none does; shown again, a pass runs at once.
    void setRecordsShown(bool shown);
    // Runs a pass that starts after this call and waits for its end. False
    // when the monitor stops first or the pass does not end within `timeout`.
    bool refreshNow(std::chrono::milliseconds timeout = std::chrono::seconds(60));

private:
    // A position of the list: the record while its interface is in the
    // table, then only what the position still shows.
    struct Slot {
        std::unique_ptr<TTraffic> live;
        uint32_t interfaceIndex = 0;
        uint32_t address = 0;  // the record's address, network byte order
    };

    void run();
    void refreshPass();
    bool pause();  // false once a stop was asked for
    int32_t positionOf(uint32_t interfaceIndex) const;
    void append(TTraffic record, uint32_t address);

    IpHelperService& ipHelper_;
    const std::atomic<uint32_t>& intervalMs_;  // its own guard: written by the refresh tick
    const MonitorTiming timing_;

    // Guards the list, every record in it, the stop flag and the pass counts.
    // The monitor holds it while it renews the list, never while it reads the
    // tables; readers hold it for the count and for each copy.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable passEnded_;
    bool stopping_ = false;
    bool passRequested_ = false;
    bool recordsShown_ = true;
    uint64_t passesStarted_ = 0;
    uint64_t passesEnded_ = 0;
    std::vector<Slot> records_;
    // (interface index, position) for every record, by index.
    std::vector<std::pair<uint32_t, int32_t>> positions_;

    std::thread thread_;  // last, so it starts after everything it uses
};

}  // namespace pelmora
