#pragma once
// The "Network" section of the widget: up to two monitored interfaces, each
// with its address and status, its load on a bar and the load as text.
#include <cstdint>

#include "core/WidgetControls.h"
#include "net/TrafficList.h"

namespace pelmora {

// Octets moved in both directions per second of the record's last interval,
// in percent of what its nominal speed carries per second, rounded half to
// even. 0 for a speed of 0 and before the record's first interval.
double networkLoadPercent(const TTraffic& record);

class NetworkPanel {
public:
    NetworkPanel(WidgetControls& controls, const TrafficList& traffic);

    // One refresh-tick step with the settings NrNetwork, Network1, Network2.
    void update(int32_t nrNetwork, int32_t network1, int32_t network2);

private:
    struct Row {
        Label* adapter;
        Bar* load;
        Label* percent;
    };
    static void setRowVisible(const Row& row, bool visible);
    // A position outside the list leaves the row exactly as it was.
    void updateRow(const Row& row, int32_t position);

    const TrafficList& traffic_;
    Row first_;
    Row second_;
};

}  // namespace pelmora
