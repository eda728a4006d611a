// The drive and system status steps of a refresh tick against the real
// Linux services, beside the bare system reads they are built on.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include "core/RecordingControls.h"
#include "platform/linux/LinuxAudio.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxNames.h"
#include "platform/linux/LinuxPower.h"
#include "platform/linux/LinuxTickCount.h"
#include "readings/DrivePanel.h"
#include "readings/StatusPanel.h"
#include "settings/DerivedDrives.h"

using namespace pelmora;

namespace {

struct Status {
    LinuxTickCount tick;
    LinuxNames names;
    LinuxDisplay display;
    LinuxAudio audio;
    LinuxPower power;
};

}  // namespace

// The floor: what the two steps must at least ask of the kernel.
static void BM_BareSystemReads(benchmark::State& state)
{
    char host[256];
    std::vector<char> buffer(4096);
    for (auto _ : state) {
        struct statvfs space {};
        benchmark::DoNotOptimize(statvfs("/", &space));
        benchmark::DoNotOptimize(statvfs("/", &space));
        timespec now{};
        clock_gettime(CLOCK_BOOTTIME, &now);
        gethostname(host, sizeof host);
        passwd entry{}, *found = nullptr;
        getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
        const int fd = open("/proc/self/mountinfo", O_RDONLY);
        char chunk[4096];
        while (fd >= 0 && read(fd, chunk, sizeof chunk) > 0) {
        }
        if (fd >= 0) close(fd);
        if (DIR* dir = opendir("/sys/class/power_supply")) {
            while (readdir(dir)) {
            }
            closedir(dir);
        }
        benchmark::DoNotOptimize(now);
    }
}
BENCHMARK(BM_BareSystemReads);

// What deriving the current drives costs: up to 26 letter types a tick.
static void BM_DriveTypeAllLetters(benchmark::State& state)
{
    LinuxDrives drives;
    for (auto _ : state) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) benchmark::DoNotOptimize(drives.driveType(letter));
    }
}
BENCHMARK(BM_DriveTypeAllLetters);

static void BM_DrivePanelTwoDrives(benchmark::State& state)
{
    LinuxDrives drives;
    RecordingWidget widget;
    DrivePanel panel(widget.controls(), drives);
    const CurrentDrives current{"C", "c"};
    for (auto _ : state) panel.update(current);
    state.SetLabel(widget.controls().lblDrive1->text());
}
BENCHMARK(BM_DrivePanelTwoDrives);

static void BM_VolumeLabel(benchmark::State& state)
{
    LinuxDrives drives;
    std::string label;
    for (auto _ : state) benchmark::DoNotOptimize(drives.volumeLabel('C', label));
}
BENCHMARK(BM_VolumeLabel);

static void BM_StatusPanel(benchmark::State& state)
{
    Status services;
    RecordingWidget widget;
    StatusPanel panel(widget.controls(), services.tick, services.names, services.display, services.audio,
                      services.power);
    for (auto _ : state) panel.update();
    state.SetLabel(widget.controls().lblRes->text() + " | " + widget.controls().lblVol->text() + " | " +
                   widget.controls().lblBatStatus->text());
}
BENCHMARK(BM_StatusPanel);

static void BM_ScreenMode(benchmark::State& state)
{
    LinuxDisplay display;
    DisplayMode mode;
    for (auto _ : state) benchmark::DoNotOptimize(display.currentMode(mode));
}
BENCHMARK(BM_ScreenMode);

static void BM_Volume(benchmark::State& state)
{
    LinuxAudio audio;
    uint32_t volume = 0, support = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(audio.outputCapabilities(support));
        benchmark::DoNotOptimize(audio.outputVolume(volume));
    }
}
BENCHMARK(BM_Volume);

static void BM_PowerStatus(benchmark::State& state)
{
    LinuxPower power;
    PowerStatus status;
    for (auto _ : state) benchmark::DoNotOptimize(power.systemPowerStatus(status));
}
BENCHMARK(BM_PowerStatus);

static void BM_Workgroup(benchmark::State& state)
{
    LinuxNames names;
    for (auto _ : state) benchmark::DoNotOptimize(names.workgroup());
}
BENCHMARK(BM_Workgroup);

// Both steps as one tick runs them, the drive derivation included.
static void BM_DrivesAndStatusSteps(benchmark::State& state)
{
    LinuxDrives drives;
    Status services;
    RecordingWidget widget;
    DrivePanel drivePanel(widget.controls(), drives);
    StatusPanel statusPanel(widget.controls(), services.tick, services.names, services.display,
                            services.audio, services.power);
    for (auto _ : state) {
        drivePanel.update(deriveDrives("", "", 2, drives));
        statusPanel.update();
    }
}
BENCHMARK(BM_DrivesAndStatusSteps);

BENCHMARK_MAIN();
