// One network-monitor pass over 8, 100 and 800 interfaces, each with an IPv4
// address: against the in-memory tables, and against a /sys/class/net tree in
// a temporary folder read by the Linux layer; and one pass over this
// machine's own interfaces (run it inside a network namespace filled by
// scripts/measure-net-scale). A pass is let through a gate; the CPU figure is
// the whole process's, so it is the monitor thread's work.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "net/NetMonitorThread.h"
#include "platform/fakes/FakeIpHelper.h"
#include "platform/fakes/ListedIpv4Addresses.h"
#include "platform/linux/LinuxIpHelper.h"

namespace {

using namespace pelmora;
namespace fs = std::filesystem;

uint32_t addressOf(uint32_t index)
{
    return ipv4Address(10, static_cast<uint8_t>(index >> 16), static_cast<uint8_t>(index >> 8),
                       static_cast<uint8_t>(index));
}

void runPasses(benchmark::State& state, IpHelperService& tables)
{
    GatedIpHelper gate(tables);
    const std::atomic<uint32_t> interval{0};
    TNetMonitorThread monitor(gate, interval, MonitorTiming{.minimumPause = std::chrono::milliseconds(0)});
    if (!gate.runPass()) state.SkipWithError("the first pass did not end");
    for (auto _ : state) {
        if (!gate.runPass()) state.SkipWithError("a pass did not end");
    }
    state.counters["records"] = monitor.TrafficCount();
    gate.open();
}

void BM_MonitorPassInMemory(benchmark::State& state)
{
    const auto count = static_cast<uint32_t>(state.range(0));
    FakeIpHelper fake;
    for (uint32_t index = 1; index <= count; ++index) {
        fake.addInterface(interfaceRow(index, "veth" + std::to_string(index), 10'000'000, index, index));
        fake.addAddress(addressRow(index, addressOf(index)));
    }
    runPasses(state, fake);
}
BENCHMARK(BM_MonitorPassInMemory)
    ->Arg(8)
    ->Arg(100)
    ->Arg(800)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

class TempNetTree {
public:
    explicit TempNetTree(uint32_t count)
    {
        std::string pattern = (fs::temp_directory_path() / "pelmora-bench-net-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        for (uint32_t index = 1; index <= count; ++index) {
            const std::string name = "veth" + std::to_string(index);
            const fs::path dir = root_ / "sys/class/net" / name;
            fs::create_directories(dir / "statistics");
            write(dir / "ifindex", std::to_string(index));
            write(dir / "type", "1");
            write(dir / "mtu", "1500");
            write(dir / "speed", "10000");
            write(dir / "flags", "0x1003");
            write(dir / "operstate", "up");
            write(dir / "address", "02:00:00:00:00:01");
            write(dir / "statistics/rx_bytes", std::to_string(index * 1000));
            write(dir / "statistics/tx_bytes", std::to_string(index * 2000));
            addresses_.push_back({name, addressOf(index), ipv4Address(255, 255, 255, 0), 0});
        }
    }
    ~TempNetTree() { fs::remove_all(root_); }
    const fs::path& root() const { return root_; }
    std::vector<InterfaceIpv4Address> addresses() const { return addresses_; }

private:
    static void write(const fs::path& file, const std::string& text) { std::ofstream(file) << text << "\n"; }
    fs::path root_;
    std::vector<InterfaceIpv4Address> addresses_;
};

void BM_MonitorPassSysfsTree(benchmark::State& state)
{
    const TempNetTree tree(static_cast<uint32_t>(state.range(0)));
    LinuxIpHelper tables(tree.root(), std::make_shared<ListedIpv4Addresses>(tree.addresses()));
    runPasses(state, tables);
}
BENCHMARK(BM_MonitorPassSysfsTree)
    ->Arg(8)
    ->Arg(100)
    ->Arg(800)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

void BM_MonitorPassThisMachine(benchmark::State& state)
{
    LinuxIpHelper tables;
    runPasses(state, tables);
}
BENCHMARK(BM_MonitorPassThisMachine)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
