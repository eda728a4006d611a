// What the settings and placement files cost to read when a hostile or
// careless hand filled them: 4 MiB of blank lines (just under the size
// limit). Each benchmark reports how far it raised the process's peak
// resident memory; run one at a time (--benchmark_filter) to see each alone.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings/PlacementFile.h"
#include "settings/RegFileSettingsStore.h"

using namespace pelmora;

namespace {

const std::string kBlankLines((4u << 20) - 4096, '\n');

std::filesystem::path writeFile(const std::string& name, const std::string& text)
{
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("pelmora-bench-" + std::to_string(::getpid())) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    // Old enough that an unchanged file may be taken as read.
    const timespec old[2] = {{1, 0}, {1, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), old, 0);
    return path;
}

double peakMiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// How far the benchmark raised the process's peak above where it stood.
void reportPeak(benchmark::State& state, double before)
{
    state.counters["peak_growth_MiB"] = peakMiB() - before;
}

const std::filesystem::path& hostileSettings()
{
    static const std::filesystem::path path =
        writeFile("Talvessa.reg",
                  "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Talvessa]\n"
                  "\"RefreshSpeed\"=\"1\"\n" +
                      kBlankLines);
    return path;
}

}  // namespace

// The first tick that meets the file: read and parsed.
static void BM_OpenHostileSettingsFile(benchmark::State& state)
{
    hostileSettings();
    const double before = peakMiB();
    for (auto _ : state) {
        RegFileSettingsStore store(hostileSettings());
        SettingsKeyScope key(store);
        benchmark::DoNotOptimize(store.ReadInteger("RefreshSpeed", 0));
    }
    reportPeak(state, before);
}
BENCHMARK(BM_OpenHostileSettingsFile)->Unit(benchmark::kMillisecond);

// Every later tick: the file has not changed, so it is not parsed again.
static void BM_OpenUnchangedHostileSettingsFile(benchmark::State& state)
{
    RegFileSettingsStore store(hostileSettings());
    const double before = peakMiB();
    for (auto _ : state) {
        SettingsKeyScope key(store);
        benchmark::DoNotOptimize(store.ReadInteger("RefreshSpeed", 0));
    }
    if (store.parses() != 1) state.SkipWithError("the unchanged file was parsed again");
    reportPeak(state, before);
}
BENCHMARK(BM_OpenUnchangedHostileSettingsFile)->Unit(benchmark::kMicrosecond);

// A window about to be shown, with a placement file of the same make.
static void BM_RestoreHostilePlacement(benchmark::State& state)
{
    const std::filesystem::path file =
        writeFile("pelmora.INI", "[TBackForm]\n" + kBlankLines + "NormPos=1,2,3,4\n");
    CurrentWindow window;
    window.width = 587;
    window.height = 352;
    const double before = peakMiB();
    for (auto _ : state) {
        benchmark::DoNotOptimize(restorePlacement(file, kBackgroundWindowSection, window, true));
    }
    reportPeak(state, before);
}
BENCHMARK(BM_RestoreHostilePlacement)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(hostileSettings().parent_path());
    return 0;
}
