#pragma once
// The system's performance data, read from the performance-data registry key
// by the object's title index (the processor object is "238").
#include "platform/PerformanceData.h"

namespace pelmora {

class WindowsPerformanceData : public PerformanceData {
public:
    WindowsPerformanceData() = default;
    // Releases what the system holds open for the performance-data key.
    ~WindowsPerformanceData() override;
    WindowsPerformanceData(const WindowsPerformanceData&) = delete;
    WindowsPerformanceData& operator=(const WindowsPerformanceData&) = delete;

    // The system's own answer: kSuccess, kErrorMoreData while the buffer is
    // too small, or any other error code.
    uint32_t query(const char* valueName, uint8_t* buffer, uint32_t* size) override;

private:
    bool queried_ = false;
};

}  // namespace pelmora
