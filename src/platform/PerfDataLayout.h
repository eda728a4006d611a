#pragma once
// The performance-data block in its published 64-bit layout (8-byte packing),
// so blocks built on any platform are walked by the same code. Every offset
// inside a block is relative to the structure it belongs to; readers copy
// the structures out with memcpy, as a block gives no alignment guarantee.
#include <cstddef>
#include <cstdint>

namespace pelmora {

struct SYSTEMTIME {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;  // 0 = Sunday
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};
static_assert(sizeof(SYSTEMTIME) == 16);

struct PERF_DATA_BLOCK {
    char16_t Signature[4];  // u"PERF"
    uint32_t LittleEndian;
    uint32_t Version;
    uint32_t Revision;
    uint32_t TotalByteLength;
    uint32_t HeaderLength;  // offset of the first object from the block
    uint32_t NumObjectTypes;
    int32_t DefaultObject;
    SYSTEMTIME SystemTime;  // UTC time of the snapshot
    alignas(8) int64_t PerfTime;
    alignas(8) int64_t PerfFreq;
    alignas(8) int64_t PerfTime100nSec;
    uint32_t SystemNameLength;
    uint32_t SystemNameOffset;
};
static_assert(sizeof(PERF_DATA_BLOCK) == 88);
static_assert(offsetof(PERF_DATA_BLOCK, HeaderLength) == 24);
static_assert(offsetof(PERF_DATA_BLOCK, NumObjectTypes) == 28);
static_assert(offsetof(PERF_DATA_BLOCK, SystemTime) == 36);
static_assert(offsetof(PERF_DATA_BLOCK, PerfTime) == 56);
static_assert(offsetof(PERF_DATA_BLOCK, SystemNameOffset) == 84);

struct PERF_OBJECT_TYPE {
    uint32_t TotalByteLength;   // distance to the next object
    uint32_t DefinitionLength;  // offset of the first instance from the object
    uint32_t HeaderLength;      // offset of the first counter definition
    uint32_t ObjectNameTitleIndex;
    uint32_t ObjectNameTitle;
    uint32_t ObjectHelpTitleIndex;
    uint32_t ObjectHelpTitle;
    uint32_t DetailLevel;
    uint32_t NumCounters;
    int32_t DefaultCounter;
    int32_t NumInstances;  // -1 when the object has no instances
    uint32_t CodePage;
    alignas(8) int64_t PerfTime;
    alignas(8) int64_t PerfFreq;
};
static_assert(sizeof(PERF_OBJECT_TYPE) == 64);
static_assert(offsetof(PERF_OBJECT_TYPE, NumCounters) == 32);
static_assert(offsetof(PERF_OBJECT_TYPE, NumInstances) == 40);
static_assert(offsetof(PERF_OBJECT_TYPE, PerfTime) == 48);

struct PERF_COUNTER_DEFINITION {
    uint32_t ByteLength;  // distance to the next definition
    uint32_t CounterNameTitleIndex;
    uint32_t CounterNameTitle;
    uint32_t CounterHelpTitleIndex;
    uint32_t CounterHelpTitle;
    int32_t DefaultScale;
    uint32_t DetailLevel;
    uint32_t CounterType;
    uint32_t CounterSize;
    uint32_t CounterOffset;  // of the value inside a counter block
};
static_assert(sizeof(PERF_COUNTER_DEFINITION) == 40);
static_assert(offsetof(PERF_COUNTER_DEFINITION, CounterOffset) == 36);

struct PERF_INSTANCE_DEFINITION {
    uint32_t ByteLength;  // distance from the instance to its counter block
    uint32_t ParentObjectTitleIndex;
    uint32_t ParentObjectInstance;
    int32_t UniqueID;
    uint32_t NameOffset;  // of the UTF-16 name from the instance
    uint32_t NameLength;  // in bytes, terminating zero included
};
static_assert(sizeof(PERF_INSTANCE_DEFINITION) == 24);

struct PERF_COUNTER_BLOCK {
    uint32_t ByteLength;  // distance from the counter block to the next instance
};
static_assert(sizeof(PERF_COUNTER_BLOCK) == 4);

inline constexpr uint32_t kPerfDetailNovice = 100;
inline constexpr int32_t kPerfNoUniqueId = -1;
// A 64-bit count of 100-ns intervals shown inverted, as a percentage.
inline constexpr uint32_t kPerf100NsecTimerInv = 0x21510500;

// The processor object and its processor-time counter, whose raw value is
// the idle time in 100-ns units.
inline constexpr uint32_t kProcessorObjectTitleIndex = 238;
inline constexpr const char* kProcessorObjectValueName = "238";
inline constexpr uint32_t kProcessorTimeCounterTitleIndex = 6;

}  // namespace pelmora
