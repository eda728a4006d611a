// Meters real interfaces inside a throw-away network namespace: the monitor
// thread over the Linux tables, the network panel on recording controls, and
// the settings dialog's interface list while a few hundred veths come and go.
// Started by test_netns_traffic.sh with `ip netns exec`; every packet it sends
// stays between that namespace and its peer namespace.
//
// Usage: netns_probe --interface va0 --local 10.213.7.1 --peer 10.213.7.2
//                    --peer-netns NAME --added-address 10.213.7.5
#include <arpa/inet.h>
#include <fcntl.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/RecordingControls.h"
#include "net/IPHelper.h"
#include "net/NetMonitorThread.h"
#include "platform/fakes/FakeIpHelper.h"
#include "platform/linux/LinuxIpHelper.h"
#include "readings/NetworkPanel.h"
#include "settings/SettingsChoices.h"

using namespace pelmora;
using namespace std::chrono_literals;

namespace {

constexpr uint16_t kEchoPort = 47613;
constexpr int kDatagrams = 1000;
constexpr size_t kPayloadBytes = 1000;
// Ethernet (14), IPv4 (20) and UDP (8) headers around each payload on the veth.
constexpr uint32_t kFrameBytes = kPayloadBytes + 42;
// Room for a stray frame or two that the kernel may send on its own.
constexpr uint64_t kStrayBytes = 1024;
// Veths created and deleted to churn the interface list.
constexpr int kChurnedVeths = 300;

int failures = 0;

void check(bool ok, const std::string& what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok) ++failures;
}

uint32_t parseAddress(const std::string& text)
{
    in_addr address{};
    if (inet_pton(AF_INET, text.c_str(), &address) != 1) {
        std::fprintf(stderr, "not an IPv4 address: %s\n", text.c_str());
        std::exit(2);
    }
    return address.s_addr;
}

sockaddr_in socketAddress(uint32_t address)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(kEchoPort);
    result.sin_addr.s_addr = address;
    return result;
}

// Runs `ip` with the arguments, never through a shell.
bool runIp(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "ip");
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execvp("ip", argv.data());
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Echoes every datagram back from inside the peer namespace.
class EchoPeer {
public:
    EchoPeer(const std::string& netns, uint32_t address)
    {
        std::atomic<int> state{0};  // 1 listening, -1 failed
        thread_ = std::thread([&, netns, address] { run(netns, address, state); });
        while (state.load() == 0) std::this_thread::yield();
        ready_ = state.load() == 1;
    }
    ~EchoPeer()
    {
        stop_ = true;
        thread_.join();
    }
    bool ready() const { return ready_; }

private:
    void run(const std::string& netns, uint32_t address, std::atomic<int>& state)
    {
        // Only this thread enters the peer's namespace.
        const int nsFd = open(("/run/netns/" + netns).c_str(), O_RDONLY | O_CLOEXEC);
        const int sock = nsFd >= 0 && setns(nsFd, CLONE_NEWNET) == 0 ? socket(AF_INET, SOCK_DGRAM, 0) : -1;
        if (nsFd >= 0) close(nsFd);
        const sockaddr_in local = socketAddress(address);
        const timeval wakeEvery{0, 100'000};
        if (sock < 0 || bind(sock, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
            setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &wakeEvery, sizeof wakeEvery) != 0) {
            std::perror("echo peer");
            state = -1;
            if (sock >= 0) close(sock);
            return;
        }
        state = 1;
        std::vector<char> buffer(65536);
        while (!stop_) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            auto* fromAddress = reinterpret_cast<sockaddr*>(&from);
            const ssize_t got = recvfrom(sock, buffer.data(), buffer.size(), 0, fromAddress, &fromLength);
            if (got > 0) sendto(sock, buffer.data(), got, 0, fromAddress, fromLength);
        }
        close(sock);
    }

    std::thread thread_;
    std::atomic<bool> stop_{false};
    bool ready_ = false;
};

// Sends `count` datagrams one at a time, each answered before the next.
bool exchange(uint32_t local, uint32_t peer, int count)
{
    const int sock = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in from = socketAddress(local);
    const sockaddr_in to = socketAddress(peer);
    const timeval patience{2, 0};
    bool ok = sock >= 0 && bind(sock, reinterpret_cast<const sockaddr*>(&from), sizeof from) == 0 &&
              connect(sock, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 &&
              setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience) == 0;
    std::vector<char> payload(kPayloadBytes, 'p'), answer(kPayloadBytes + 1);
    for (int sent = 0; ok && sent < count; ++sent) {
        ok = send(sock, payload.data(), payload.size(), 0) == static_cast<ssize_t>(payload.size()) &&
             recv(sock, answer.data(), answer.size(), 0) == static_cast<ssize_t>(payload.size());
    }
    if (sock >= 0) close(sock);
    return ok;
}

class ManualClock {
public:
    std::chrono::steady_clock::time_point now() const
    {
        return std::chrono::steady_clock::time_point(at_.load());
    }
    void advance(std::chrono::nanoseconds by) { at_ = at_.load() + by; }

private:
    std::atomic<std::chrono::nanoseconds> at_{std::chrono::hours(1)};
};

int32_t positionOf(const TrafficList& list, const std::string& addressText)
{
    for (int32_t at = 0; at < list.TrafficCount(); ++at) {
        if (list.TrafficAt(at).IPAddress == addressText) return at;
    }
    return -1;
}

uint64_t expectedSpeed(const std::string& interface)
{
    long long megabits = 0;
    std::ifstream("/sys/class/net/" + interface + "/speed") >> megabits;
    return megabits <= 0 ? 0 : static_cast<uint64_t>(megabits) * 1'000'000;
}

bool within(uint64_t value, uint64_t expected)
{
    return value >= expected && value <= expected + kStrayBytes;
}

// Adds (or deletes) the churn veths c1, c2, ... with one `ip -batch` run.
bool churnVeths(bool add)
{
    char path[] = "/tmp/pelmora-churn-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return false;
    close(fd);
    {
        std::ofstream batch(path);
        for (int at = 1; at <= kChurnedVeths; ++at) {
            if (add) {
                batch << "link add c" << at << " type veth peer name d" << at << "\n";
                batch << "addr add 10.214." << (at >> 8) << "." << (at & 255) << "/32 dev c" << at << "\n";
            } else {
                batch << "link del c" << at << "\n";
            }
        }
    }
    const bool ok = runIp({"-batch", path});
    unlink(path);
    return ok;
}

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

}  // namespace

int main(int argc, char** argv)
{
    std::map<std::string, std::string> options;
    for (int at = 1; at + 1 < argc; at += 2) options[argv[at]] = argv[at + 1];
    for (const char* needed : {"--interface", "--local", "--peer", "--peer-netns", "--added-address"}) {
        if (options[needed].empty()) {
            std::fprintf(stderr, "missing %s\n", needed);
            return 2;
        }
    }
    const uint32_t local = parseAddress(options["--local"]);
    const uint32_t peer = parseAddress(options["--peer"]);
    const std::string addedAddress = options["--added-address"];

    EchoPeer echo(options["--peer-netns"], peer);
    check(echo.ready(), "echo peer listens in the peer namespace");
    check(exchange(local, peer, 3), "warm-up exchange");  // before anything is measured

    LinuxIpHelper tables;
    GatedIpHelper gate(tables);
    const std::atomic<uint32_t> interval{0};
    ManualClock clock;
    TNetMonitorThread monitor(gate, interval, MonitorTiming{[&] { return clock.now(); }, 0ms});
    RecordingWidget widget;
    const WidgetControls& controls = widget.controls();
    NetworkPanel panel(widget.controls(), monitor);

    check(gate.runPass(), "first pass");
    const int32_t veth = positionOf(monitor, AddressText(local));
    const int32_t loopback = positionOf(monitor, AddressText(parseAddress("127.0.0.1")));
    check(veth >= 0 && loopback >= 0 && monitor.TrafficCount() == 2, "one record each for lo and the veth");
    check(loopback < veth, "records in interface-index order");
    if (veth < 0) return 1;
    check(monitor.TrafficAt(veth).Description.starts_with(options["--interface"]),
          "description names the veth");

    check(exchange(local, peer, kDatagrams), "exchange of the measured datagrams");
    const auto measured = 10ms;
    clock.advance(measured);
    check(gate.runPass(), "second pass");
    const TTraffic record = monitor.TrafficAt(veth);
    const uint64_t expected = uint64_t{kDatagrams} * kFrameBytes;
    std::printf("deltas in %llu out %llu, expected %llu; speed %llu\n", (unsigned long long)record.InDelta,
                (unsigned long long)record.OutDelta, (unsigned long long)expected,
                (unsigned long long)record.Speed);
    check(within(record.OutDelta, expected), "sent octets counted once per frame");
    check(within(record.InDelta, expected), "received octets counted once per frame");
    const uint64_t speed = expectedSpeed(options["--interface"]);
    check(record.Speed == speed, "speed from the link, beyond 32 bits");

    panel.update(1, veth, -1);
    // What the sender itself moved, in both directions, against the link.
    const double seconds = std::chrono::duration<double>(measured).count();
    const double sentLoad = speed == 0 ? 0 : 2.0 * double(expected) / seconds * 100 / (double(speed) / 8);
    std::printf("load %s, the sender's own bytes give %.2f%%\n", controls.lblA1->text().c_str(), sentLoad);
    check(controls.lblAdapter1->text() == AddressText(local) + " (Connected)", controls.lblAdapter1->text());
    check(std::abs(controls.LAN1->position() - std::min(sentLoad, 100.0)) <= 2, "load within 2 points");

    // An interface that appears while the monitor runs goes to the end.
    const bool added = runIp({"link", "add", "pmx0", "type", "veth", "peer", "name", "pmx1"}) &&
                       runIp({"addr", "add", addedAddress + "/30", "dev", "pmx0"}) &&
                       runIp({"link", "set", "pmx0", "up"});
    check(added, "veth pmx0 added during the run");
    const int32_t before = monitor.TrafficCount();
    check(gate.runPass(), "pass after the addition");
    const int32_t late = positionOf(monitor, AddressText(parseAddress(addedAddress)));
    check(late == before && monitor.TrafficCount() == before + 1, "the new veth is appended at the end");
    check(positionOf(monitor, AddressText(local)) == veth, "earlier positions keep");

    // An interface that goes away reads "Not Connected".
    check(runIp({"link", "del", "pmx0"}), "veth pmx0 deleted");
    check(gate.runPass(), "pass after the deletion");
    panel.update(2, veth, late);
    check(controls.lblAdapter2->text() == AddressText(parseAddress(addedAddress)) + " (Not Connected)",
          controls.lblAdapter2->text());
    check(controls.lblA2->text() == "0%", "no load on a deleted interface");
    check(controls.lblAdapter1->text() == AddressText(local) + " (Connected)", "the veth is still connected");

    // A few hundred veths come and go: their records shrink to what their
    // positions show, and the dialog offers only what exists and what is chosen.
    const int32_t beforeChurn = monitor.TrafficCount();
    check(gate.runPass(), "pass before the churn");
    const size_t heapBefore = heapInUse();
    check(churnVeths(true), "churn veths added");
    check(gate.runPass(), "pass over the churn veths");
    check(monitor.TrafficCount() == beforeChurn + kChurnedVeths, "one record per churn veth");
    check(churnVeths(false), "churn veths deleted");
    check(gate.runPass(), "pass after the churn");
    const long grown = long(heapInUse()) - long(heapBefore);
    std::printf("heap grew by %ld bytes for %d deleted veths\n", grown, kChurnedVeths);
    check(grown <= 128L * kChurnedVeths, "at most 128 bytes per deleted veth");
    const TTraffic churned = monitor.TrafficAt(beforeChurn + 7);
    check(!churned.IsConnected && churned.Description.empty(), "a deleted veth keeps only its position");

    const DialogNetworkSettings chosen{veth, beforeChurn + 7, 2};
    const std::vector<NetworkEntry> entries = networkEntries(monitor, chosen);
    check(entries.size() == 3, "the dialog lists lo, the veth and the chosen deleted one: " +
                                   std::to_string(entries.size()) + " entries");
    check(storedInterfaceRows(chosen, entries).size() == 2, "both chosen interfaces are checked");

    gate.open();  // lets the monitor leave its held pass and stop
    std::printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
