#pragma once
// Writes a performance-data block holding the processor object: one
// instance per processor in the order given, each with its idle-time counter
// (title index 6, 100-ns units). Shared by the Linux source and the fake, so
// both hand the load sampler the same layout.
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/PerfDataLayout.h"

namespace pelmora {

struct ProcessorInstance {
    std::string_view name;  // ASCII, written as UTF-16
    int64_t idleTime100ns = 0;
};

struct PerfSnapshotTimes {
    SYSTEMTIME systemTime{};      // UTC
    int64_t perfTime = 0;         // performance-counter counts
    int64_t perfFreq = 10000000;  // counts per second
    int64_t perfTime100nSec = 0;  // the snapshot time as a FILETIME count
};

// Bytes the block takes; more than 32 bits can hold means it never fits.
uint64_t processorBlockBytes(std::span<const ProcessorInstance> instances);

// `out` must hold processorBlockBytes(instances) bytes; nothing is allocated.
void writeProcessorBlock(std::span<const ProcessorInstance> instances, const PerfSnapshotTimes& times,
                         uint8_t* out);

// A block without objects: the answer for an object the source does not know.
uint64_t emptyBlockBytes();
void writeEmptyBlock(const PerfSnapshotTimes& times, uint8_t* out);

}  // namespace pelmora
