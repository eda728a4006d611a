#pragma once
// Performance data as the test sets it: a processor block built from idle
// counters and a snapshot time, or any bytes at all for malformed blocks.
#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/PerfDataLayout.h"
#include "platform/PerformanceData.h"

namespace pelmora {

class FakePerformanceData : public PerformanceData {
public:
    // A snapshot time `milliseconds` after a fixed moment (2024-05-01 12:00 UTC).
    static SYSTEMTIME timeAt(int64_t milliseconds);

    // A processor block: instances "0", "1", ... for all but the last
    // counter, "_Total" for the last.
    static std::vector<uint8_t> processorBlock(const std::vector<int64_t>& idleTimes100ns, SYSTEMTIME time);

    // The answer of the next queries.
    void setSample(const std::vector<int64_t>& idleTimes100ns, SYSTEMTIME time);
    void setSample(const std::vector<int64_t>& idleTimes100ns, int64_t milliseconds);
    // The answered bytes, for a test to alter.
    std::vector<uint8_t>& block() { return block_; }
    // Answers "more data" while the caller's buffer is smaller than this,
    // even when the block would fit.
    void requireBufferBytes(uint32_t bytes) { requiredBytes_ = bytes; }
    // Answers this code instead of any data (0 to answer data again).
    void failWith(uint32_t code) { failure_ = code; }

    uint32_t query(const char* valueName, uint8_t* buffer, uint32_t* size) override;

    // The buffer size of every query, in order.
    const std::vector<uint32_t>& sizesAsked() const { return sizesAsked_; }

private:
    std::vector<uint8_t> block_;
    uint32_t requiredBytes_ = 0;
    uint32_t failure_ = 0;
    std::vector<uint32_t> sizesAsked_;
};

}  // namespace pelmora
