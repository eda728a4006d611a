#include "platform/PerfBlockWriter.h"

#include <cstring>

namespace pelmora {

namespace {

constexpr uint64_t kCounterValueOffset = 8;  // the 64-bit value sits 8-aligned after ByteLength
constexpr uint64_t kCounterBlockBytes = kCounterValueOffset + sizeof(int64_t);

uint64_t alignTo8(uint64_t bytes)
{
    return (bytes + 7) & ~uint64_t{7};
}

uint64_t nameBytes(std::string_view name)
{
    return (name.size() + 1) * sizeof(char16_t);
}

uint64_t instanceBytes(const ProcessorInstance& instance)
{
    return sizeof(PERF_INSTANCE_DEFINITION) + alignTo8(nameBytes(instance.name)) + kCounterBlockBytes;
}

constexpr uint64_t kObjectHeaderBytes = sizeof(PERF_OBJECT_TYPE) + sizeof(PERF_COUNTER_DEFINITION);

template <typename T>
void put(uint8_t* at, const T& value)
{
    std::memcpy(at, &value, sizeof value);
}

PERF_DATA_BLOCK blockHeader(const PerfSnapshotTimes& times, uint64_t totalBytes, uint32_t objects)
{
    PERF_DATA_BLOCK block{};
    const char16_t signature[4] = {u'P', u'E', u'R', u'F'};
    std::memcpy(block.Signature, signature, sizeof signature);
    block.LittleEndian = 1;
    block.Version = 1;
    block.Revision = 1;
    block.TotalByteLength = static_cast<uint32_t>(totalBytes);
    block.HeaderLength = sizeof(PERF_DATA_BLOCK);
    block.NumObjectTypes = objects;
    block.DefaultObject = static_cast<int32_t>(kProcessorObjectTitleIndex);
    block.SystemTime = times.systemTime;
    block.PerfTime = times.perfTime;
    block.PerfFreq = times.perfFreq;
    block.PerfTime100nSec = times.perfTime100nSec;
    block.SystemNameOffset = sizeof(PERF_DATA_BLOCK);
    return block;
}

}  // namespace

uint64_t processorBlockBytes(std::span<const ProcessorInstance> instances)
{
    uint64_t bytes = sizeof(PERF_DATA_BLOCK) + kObjectHeaderBytes;
    for (const ProcessorInstance& instance : instances) bytes += instanceBytes(instance);
    return bytes;
}

void writeProcessorBlock(std::span<const ProcessorInstance> instances, const PerfSnapshotTimes& times,
                         uint8_t* out)
{
    const uint64_t total = processorBlockBytes(instances);
    put(out, blockHeader(times, total, 1));

    uint8_t* object = out + sizeof(PERF_DATA_BLOCK);
    PERF_OBJECT_TYPE header{};
    header.TotalByteLength = static_cast<uint32_t>(total - sizeof(PERF_DATA_BLOCK));
    header.DefinitionLength = static_cast<uint32_t>(kObjectHeaderBytes);
    header.HeaderLength = sizeof(PERF_OBJECT_TYPE);
    header.ObjectNameTitleIndex = kProcessorObjectTitleIndex;
    header.ObjectHelpTitleIndex = kProcessorObjectTitleIndex + 1;
    header.DetailLevel = kPerfDetailNovice;
    header.NumCounters = 1;
    header.DefaultCounter = 0;
    header.NumInstances = static_cast<int32_t>(instances.size());
    header.PerfTime = times.perfTime;
    header.PerfFreq = times.perfFreq;
    put(object, header);

    PERF_COUNTER_DEFINITION counter{};
    counter.ByteLength = sizeof(PERF_COUNTER_DEFINITION);
    counter.CounterNameTitleIndex = kProcessorTimeCounterTitleIndex;
    counter.CounterHelpTitleIndex = kProcessorTimeCounterTitleIndex + 1;
    counter.DetailLevel = kPerfDetailNovice;
    counter.CounterType = kPerf100NsecTimerInv;
    counter.CounterSize = sizeof(int64_t);
    counter.CounterOffset = static_cast<uint32_t>(kCounterValueOffset);
    put(object + sizeof(PERF_OBJECT_TYPE), counter);

    uint8_t* at = object + kObjectHeaderBytes;
    for (const ProcessorInstance& instance : instances) {
        const uint64_t paddedName = alignTo8(nameBytes(instance.name));
        PERF_INSTANCE_DEFINITION definition{};
        definition.ByteLength = static_cast<uint32_t>(sizeof(PERF_INSTANCE_DEFINITION) + paddedName);
        definition.UniqueID = kPerfNoUniqueId;
        definition.NameOffset = sizeof(PERF_INSTANCE_DEFINITION);
        definition.NameLength = static_cast<uint32_t>(nameBytes(instance.name));
        put(at, definition);

        uint8_t* name = at + sizeof(PERF_INSTANCE_DEFINITION);
        std::memset(name, 0, paddedName);
        for (size_t i = 0; i < instance.name.size(); ++i)
            put(name + i * sizeof(char16_t),
                static_cast<char16_t>(static_cast<unsigned char>(instance.name[i])));

        uint8_t* counters = name + paddedName;
        std::memset(counters, 0, kCounterBlockBytes);
        put(counters, PERF_COUNTER_BLOCK{static_cast<uint32_t>(kCounterBlockBytes)});
        put(counters + kCounterValueOffset, instance.idleTime100ns);
        at = counters + kCounterBlockBytes;
    }
}

uint64_t emptyBlockBytes()
{
    return sizeof(PERF_DATA_BLOCK);
}

void writeEmptyBlock(const PerfSnapshotTimes& times, uint8_t* out)
{
    put(out, blockHeader(times, emptyBlockBytes(), 0));
}

}  // namespace pelmora
