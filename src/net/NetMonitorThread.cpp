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
    const Slot& slot = records_[static_cast<size_t>(position)];
    if (slot.live) return *slot.live;
    TTraffic gone;
    gone.IPAddress = AddressText(slot.address);
    gone.InterfaceIndex = slot.interfaceIndex;
    gone.IsConnected = false;
    return gone;
}

void TNetMonitorThread::StopMonitoring()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    passEnded_.notify_all();
}

void TNetMonitorThread::setRecordsShown(bool shown)
{
    {
        std::lock_guard lock(mutex_);
        if (shown == recordsShown_) return;
        recordsShown_ = shown;
        if (!shown) return;
        passRequested_ = true;  // the records may be a long pause old
    }
    wake_.notify_all();
}

bool TNetMonitorThread::refreshNow(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    const uint64_t wanted = passesStarted_ + 1;
    passRequested_ = true;
    wake_.notify_all();
    passEnded_.wait_for(lock, timeout, [&] { return stopping_ || passesEnded_ >= wanted; });
    return passesEnded_ >= wanted;
}

void TNetMonitorThread::run()
{
    if (!timing_.paced && !pause()) return;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
            ++passesStarted_;
            passRequested_ = false;
        }
        try {
            refreshPass();
        } catch (...) {
            // A failed pass changes nothing; the next one tries again.
        }
        {
            std::lock_guard lock(mutex_);
            ++passesEnded_;
        }
        passEnded_.notify_all();
        if (!pause()) return;
    }
}

bool TNetMonitorThread::pause()
{
    std::unique_lock lock(mutex_);
    const auto woken = [this] { return stopping_ || passRequested_; };
    if (timing_.paced) {
        const auto interval =
            recordsShown_ ? std::chrono::milliseconds(intervalMs_.load()) : timing_.unshownPause;
        const auto pause = std::max<std::chrono::milliseconds>(interval, timing_.minimumPause);
        wake_.wait_for(lock, pause, woken);
    } else {
        wake_.wait(lock, woken);
    }
    return !stopping_;
}

int32_t TNetMonitorThread::positionOf(uint32_t interfaceIndex) const
{
    const auto found =
        std::lower_bound(positions_.begin(), positions_.end(), interfaceIndex,
                         [](const auto& entry, uint32_t index) { return entry.first < index; });
    return found != positions_.end() && found->first == interfaceIndex ? found->second : -1;
}

void TNetMonitorThread::append(TTraffic record, uint32_t address)
{
    const uint32_t index = record.InterfaceIndex;
    const auto position = static_cast<int32_t>(records_.size());
    // Indexes mostly grow, so this usually inserts at the end.
    const auto at = std::lower_bound(positions_.begin(), positions_.end(), index,
                                     [](const auto& entry, uint32_t i) { return entry.first < i; });
    positions_.insert(at, {index, position});
    records_.push_back(Slot{std::make_unique<TTraffic>(std::move(record)), index, address});
}

void TNetMonitorThread::refreshPass()
{
    // One snapshot of each table serves every record of the pass.
    TMIBIfArray rows;
    ReadInterfaceTable(ipHelper_, rows);
    if (rows.empty()) return;  // unreadable: nothing is known, nothing changes
    TMibIPAddrArray addressRows;
    ReadAddressTable(ipHelper_, addressRows);
    const AddressSnapshot addresses(addressRows);
    const auto now = timing_.now();

    std::lock_guard lock(mutex_);
    // By position: renewed with an address in this pass, or at least in the table.
    std::vector<bool> renewed(records_.size()), inTable(records_.size());
    for (const InterfaceRow64& row : rows) {
        const int32_t position = positionOf(row.dwIndex);
        if (position >= 0) inTable[static_cast<size_t>(position)] = true;
        const auto address = addresses.firstAddressOf(row.dwIndex);
        if (!address) continue;  // interfaces without an address are neither added nor updated
        if (position < 0) {
            append(TTraffic(row, addresses, now), *address);
            renewed.push_back(true);
            inTable.push_back(true);
            continue;
        }
        if (renewed[static_cast<size_t>(position)]) continue;  // a duplicate row
        renewed[static_cast<size_t>(position)] = true;
        Slot& slot = records_[static_cast<size_t>(position)];
        if (slot.live) {
            slot.live->UpdateCounters(row.InOctets, row.OutOctets, linkSpeedOf(row), now);
            slot.live->IsConnected = true;
        } else {
            // Back in the table: a fresh record at the old position.
            slot.live = std::make_unique<TTraffic>(row, addresses, now);
            slot.address = *address;
        }
    }

    for (size_t position = 0; position < records_.size(); ++position) {
        Slot& slot = records_[position];
        if (renewed[position] || !slot.live) continue;
        if (inTable[position]) {
            slot.live->markNotConnected();  // still there, without an address
        } else {
            slot.live.reset();  // gone: only what the position shows stays
        }
    }
}

}  // namespace pelmora
