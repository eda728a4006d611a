#include "net/NetMonitorThread.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "net/IPHelper.h"

namespace pelmora {

TNetMonitorThread::TNetMonitorThread(IpHelperService& ipHelper, const std::atomic<uint32_t>& intervalMs,
                                     MonitorTiming timing)
    : ipHelper_(ipHelper), intervalMs_(intervalMs), timing_(std::move(timing)), thread_([this] { run(); })
{
}

TNetMonitorThread::~TNetMonitorThread()
{
    StopMonitoring();
    if (thread_.joinable()) thread_.join();
}

int32_t TNetMonitorThread::TrafficCount() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int32_t>(records_.size());
}

TTraffic TNetMonitorThread::TrafficAt(int32_t position) const
{
    std::lock_guard lock(mutex_);
    if (position < 0 || static_cast<size_t>(position) >= records_.size()) {
        throw std::out_of_range("no traffic record at position " + std::to_string(position));
    }
    return records_[static_cast<size_t>(position)];
}

void TNetMonitorThread::StopMonitoring()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopRequested_.notify_all();
}

void TNetMonitorThread::run()
{
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        try {
            refreshPass();
        } catch (...) {
            // A failed pass keeps what it did so far; the next one tries again.
        }
        if (!pause()) return;
    }
}

bool TNetMonitorThread::pause()
{
    const auto pause = std::max<std::chrono::milliseconds>(std::chrono::milliseconds(intervalMs_.load()),
                                                           timing_.minimumPause);
    std::unique_lock lock(mutex_);
    return !stopRequested_.wait_for(lock, pause, [this] { return stopping_; });
}

TTraffic* TNetMonitorThread::findRecord(uint32_t interfaceIndex)
{
    const auto found = std::find_if(records_.begin(), records_.end(), [&](const TTraffic& record) {
        return record.InterfaceIndex == interfaceIndex;
    });
    return found == records_.end() ? nullptr : &*found;
}

void TNetMonitorThread::refreshPass()
{
    TMIBIfArray rows;
    ReadInterfaceTable(ipHelper_, rows);
    if (rows.empty()) return;  // unreadable: nothing is known, nothing changes
    const auto now = timing_.now();

    std::vector<uint32_t> connected;
    for (const MIB_IFROW& row : rows) {
        if (std::find(connected.begin(), connected.end(), row.dwIndex) != connected.end()) continue;
        // Built outside the lock: it reads the address table.
        TTraffic candidate(row, ipHelper_, now);
        if (candidate.IPAddress == kAddressNotFound) continue;
        connected.push_back(row.dwIndex);

        std::lock_guard lock(mutex_);
        if (TTraffic* record = findRecord(row.dwIndex)) {
            record->UpdateCounters(row.dwInOctets, row.dwOutOctets, row.dwSpeed, now);
            record->IsConnected = true;
        } else {
            records_.push_back(std::move(candidate));
        }
    }

    // Reached only by a whole pass: interfaces gone from the table or left
    // without an address.
    std::lock_guard lock(mutex_);
    for (TTraffic& record : records_) {
        if (std::find(connected.begin(), connected.end(), record.InterfaceIndex) == connected.end()) {
            record.markNotConnected();
        }
    }
}

}  // namespace pelmora
