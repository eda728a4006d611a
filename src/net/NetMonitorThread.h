#pragma once
// The background thread that keeps one traffic record per interface with an
// IPv4 address. Records are only ever appended, so a position names the same
// interface for the whole run.
#include <atomic>
#include <cstdint>

#include "net/TrafficList.h"
#include "net/TrafficUnit.h"

namespace pelmora {

class TNetMonitorThread : public TrafficList {
public:
    // Starts at once. `intervalMs` is the widget's refresh interval, read anew
    // before each pause; it must outlive the thread.
    TNetMonitorThread(IpHelperService& ipHelper, const std::atomic<uint32_t>& intervalMs);
    // Stops and waits for the run to end (it ends within one pass).
    ~TNetMonitorThread() override;
    TNetMonitorThread(const TNetMonitorThread&) = delete;
    TNetMonitorThread& operator=(const TNetMonitorThread&) = delete;

    int32_t TrafficCount() const override;
    // A copy of the record at `position` (0 <= position < TrafficCount()),
    // taken under the list's lock.
    TTraffic TrafficAt(int32_t position) const override;
    // Wakes the pause at once; the run ends after the current pass.
    void StopMonitoring();
};

}  // namespace pelmora
