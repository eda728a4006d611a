#pragma once
#include <cstdint>

#include "net/TrafficUnit.h"

namespace pelmora {

// Read access to the monitor's records by position, for the network panel and
// the settings dialog.
class TrafficList {
public:
    virtual ~TrafficList() = default;
    virtual int32_t TrafficCount() const = 0;
    // A copy of the record at 0 <= position < TrafficCount().
    virtual TTraffic TrafficAt(int32_t position) const = 0;
};

}  // namespace pelmora
