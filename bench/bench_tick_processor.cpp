// The processor and memory steps of a refresh tick against the real Linux
// services and recording controls, beside the bare reads of the /proc files
// they rest on. Also counts the heap allocations of a steady-state tick,
// which should be none.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/RecordingControls.h"
#include "platform/linux/LinuxMemoryStatus.h"
#include "platform/linux/LinuxPerformanceData.h"
#include "platform/linux/LinuxProcessorIdentity.h"
#include "readings/CPUUsage.h"
#include "readings/MemoryPanel.h"
#include "readings/ProcessorPanel.h"

namespace {
std::atomic<long> heapAllocations{0};
}

// Counting replacements of the global allocation functions; they pair
// malloc with free, which the compiler cannot see across the replacement.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t bytes)
{
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(bytes == 0 ? 1 : bytes)) return memory;
    throw std::bad_alloc();
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept
{
    heapAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(bytes == 0 ? 1 : bytes);
}
void operator delete(void* memory) noexcept
{
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

using namespace pelmora;

// Heap allocations per call of `step` once it has settled.
template <typename Step>
double allocationsPerCall(Step&& step)
{
    for (int i = 0; i < 3; ++i) step();  // buffers reach their size
    constexpr int kCalls = 100;
    const long before = heapAllocations.load();
    for (int i = 0; i < kCalls; ++i) step();
    return static_cast<double>(heapAllocations.load() - before) / kCalls;
}

void BM_ProcessorAndMemorySteps(benchmark::State& state)
{
    RecordingWidget widget;
    LinuxPerformanceData performanceData;
    LinuxProcessorIdentity identity;
    LinuxMemoryStatus memoryStatus;
    CPUUsage usage(performanceData);
    ProcessorPanel processor(widget.controls(), usage, identity);
    MemoryPanel memory(widget.controls(), memoryStatus);
    auto tick = [&] {
        processor.update();  // takes the sample itself
        memory.update();
    };
    state.counters["heap_allocs_per_tick"] = allocationsPerCall(tick);
    for (auto _ : state) tick();
}
BENCHMARK(BM_ProcessorAndMemorySteps);

void BM_SampleCPUCounters(benchmark::State& state)
{
    LinuxPerformanceData performanceData;
    CPUUsage usage(performanceData);
    state.counters["heap_allocs_per_sample"] = allocationsPerCall([&] { usage.SampleCPUCounters(); });
    for (auto _ : state) usage.SampleCPUCounters();
}
BENCHMARK(BM_SampleCPUCounters);

void BM_MemoryStatus(benchmark::State& state)
{
    LinuxMemoryStatus memoryStatus;
    state.counters["heap_allocs_per_query"] = allocationsPerCall([&] { memoryStatus.memoryStatus(); });
    for (auto _ : state) benchmark::DoNotOptimize(memoryStatus.memoryStatus());
}
BENCHMARK(BM_MemoryStatus);

// The floor: open, read and close the three files, nothing parsed.
void BM_ReadProcFilesOnly(benchmark::State& state)
{
    static char buffer[65536];
    auto readWhole = [](const char* path) {
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) return;
        while (::read(fd, buffer, sizeof buffer) > 0) {
        }
        ::close(fd);
    };
    for (auto _ : state) {
        readWhole("/proc/stat");
        readWhole("/proc/meminfo");
        readWhole("/proc/self/status");
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ReadProcFilesOnly);

}  // namespace

BENCHMARK_MAIN();
