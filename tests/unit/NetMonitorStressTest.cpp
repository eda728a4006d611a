// The user-interface side reads the list and drives the panel while the
// monitor appends and updates without pausing. Run it under the thread
// sanitizer to check the guarding.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/RecordingControls.h"
#include "net/NetMonitorThread.h"
#include "platform/fakes/FakeIpHelper.h"
#include "readings/NetworkPanel.h"

namespace pelmora {
namespace {

using namespace std::chrono_literals;

TEST(NetMonitorStress, ReadersSeeAStableGrowingListWhileTheMonitorRuns)
{
    constexpr uint32_t kInterfaces = 60;
    FakeIpHelper fake;
    const std::atomic<uint32_t> interval{0};
    TNetMonitorThread monitor(fake, interval, MonitorTiming{.minimumPause = 0ms});

    std::atomic<bool> done{false};
    std::atomic<int> readerLoops{0};
    std::vector<std::string> faults;  // written by the reader only, read after join
    std::thread reader([&] {
        RecordingWidget widget;
        NetworkPanel panel(widget.controls(), monitor);
        std::vector<uint32_t> seen;  // the index at each position, once filled
        while (!done.load()) {
            const int32_t count = monitor.TrafficCount();
            if (count < static_cast<int32_t>(seen.size())) faults.push_back("the list shrank");
            for (int32_t at = 0; at < count; ++at) {
                const TTraffic record = monitor.TrafficAt(at);
                if (record.IPAddress == kAddressNotFound) faults.push_back("a record without address");
                if (static_cast<size_t>(at) < seen.size()) {
                    if (seen[at] != record.InterfaceIndex) faults.push_back("a position changed interface");
                } else {
                    if (std::find(seen.begin(), seen.end(), record.InterfaceIndex) != seen.end()) {
                        faults.push_back("an interface listed twice");
                    }
                    seen.push_back(record.InterfaceIndex);
                }
            }
            panel.update(2, 0, count - 1);
            ++readerLoops;
        }
    });

    const auto deadline = std::chrono::steady_clock::now() + 60s;
    for (uint32_t index = 1; index <= kInterfaces; ++index) {
        fake.addInterface(interfaceRow(index, "if" + std::to_string(index), 1'000'000, index, index));
        fake.addAddress(addressRow(index, ipv4Address(10, 1, 0, static_cast<uint8_t>(index))));
        fake.addInterface(interfaceRow(1000 + index, "no address"));
        for (uint32_t earlier = 1; earlier < index; ++earlier) {
            fake.setCounters(earlier, index * 1000, index * 7);
        }
        const int queriesBefore = fake.interfaceSizeQueries();
        // Two more passes have begun: one whole pass saw this interface.
        while (monitor.TrafficCount() < static_cast<int32_t>(index) ||
               fake.interfaceSizeQueries() < queriesBefore + 2) {
            if (std::chrono::steady_clock::now() > deadline) break;
            std::this_thread::yield();
        }
    }
    while (readerLoops.load() < 100 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    done = true;
    reader.join();

    EXPECT_TRUE(faults.empty()) << faults.front();
    ASSERT_EQ(monitor.TrafficCount(), static_cast<int32_t>(kInterfaces));
    for (uint32_t at = 0; at < kInterfaces; ++at) EXPECT_EQ(monitor.TrafficAt(at).InterfaceIndex, at + 1);
}

}  // namespace
}  // namespace pelmora
