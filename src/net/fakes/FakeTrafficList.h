#pragma once
#include <string>
#include <vector>

#include "net/TrafficList.h"

namespace pelmora {

// Traffic records by position, as a test lists them.
class FakeTrafficList : public TrafficList {
public:
    void add(const std::string& description, const std::string& address)
    {
        TTraffic record;
        record.Description = description;
        record.IPAddress = address;
        records.push_back(record);
    }
    int32_t TrafficCount() const override { return static_cast<int32_t>(records.size()); }
    TTraffic TrafficAt(int32_t position) const override { return records.at(position); }

    std::vector<TTraffic> records;
};

}  // namespace pelmora
