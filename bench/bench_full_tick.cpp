// One whole refresh tick of the widget against the real Linux services and
// recording controls, beside the bare reads of the same files as the floor.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "app/HeadlessWidget.h"
#include "core/SettingsRecord.h"
#include "platform/linux/LinuxServices.h"
#include "settings/RegFileSettingsStore.h"

namespace {

using namespace pelmora;

void BM_FullTick(benchmark::State& state)
{
    char folder[] = "/tmp/pelmora-bench-XXXXXX";
    const std::filesystem::path settings = std::filesystem::path(mkdtemp(folder)) / "Talvessa.reg";
    {
        LinuxServices linux;
        RegFileSettingsStore store(settings);
        HeadlessWidget widget(linux.services(), store);
        widget.engine().RefreshTimerTimer();
        for (auto _ : state) widget.engine().RefreshTimerTimer();
    }
    std::filesystem::remove_all(settings.parent_path());
}
BENCHMARK(BM_FullTick)->Unit(benchmark::kMicrosecond);

// The settings part of a tick: open, the seven reads, close.
void BM_SettingsReads(benchmark::State& state)
{
    char folder[] = "/tmp/pelmora-bench-XXXXXX";
    const std::filesystem::path settings = std::filesystem::path(mkdtemp(folder)) / "Talvessa.reg";
    RegFileSettingsStore store(settings);
    for (auto _ : state) {
        SettingsKeyScope key(store);
        for (const IntegerSetting& setting :
             {SettingsRecord::RefreshSpeed, SettingsRecord::NrNetwork, SettingsRecord::Network1,
              SettingsRecord::Network2, SettingsRecord::NrDrives})
            benchmark::DoNotOptimize(store.ReadInteger(setting.name, setting.defaultValue));
        benchmark::DoNotOptimize(
            store.ReadString(SettingsRecord::Drive1.name, SettingsRecord::Drive1.defaultValue));
        benchmark::DoNotOptimize(
            store.ReadString(SettingsRecord::Drive2.name, SettingsRecord::Drive2.defaultValue));
    }
    std::filesystem::remove_all(settings.parent_path());
}
BENCHMARK(BM_SettingsReads)->Unit(benchmark::kMicrosecond);

void readWhole(const char* path)
{
    char buffer[16384];
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
    close(fd);
    benchmark::DoNotOptimize(buffer);
}

// What any tick must read at the least: the kernel's files, the space of the
// root file system, the power supplies and the interfaces.
void BM_BareReads(benchmark::State& state)
{
    for (auto _ : state) {
        readWhole("/proc/stat");
        readWhole("/proc/meminfo");
        readWhole("/proc/self/status");
        readWhole("/proc/self/mountinfo");
        struct statvfs info {};
        statvfs("/", &info);
        benchmark::DoNotOptimize(info);
        if (DIR* dir = opendir("/sys/class/power_supply")) {
            while (readdir(dir) != nullptr) {
            }
            closedir(dir);
        }
        readWhole("/etc/hostname");
    }
}
BENCHMARK(BM_BareReads)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
