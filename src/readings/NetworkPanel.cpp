#include "readings/NetworkPanel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/Rounding.h"

namespace pelmora {

double networkLoadPercent(const TTraffic& record)
{
    if (record.Speed == 0 || !(record.IntervalSeconds > 0)) return 0;
    const double octets = static_cast<double>(record.InDelta) + static_cast<double>(record.OutDelta);
    const double octetsPerSecond = octets / record.IntervalSeconds;
    const double capacityOctetsPerSecond = static_cast<double>(record.Speed) / 8.0;
    return static_cast<double>(roundHalfEven(octetsPerSecond * 100.0 / capacityOctetsPerSecond));
}

NetworkPanel::NetworkPanel(WidgetControls& controls, const TrafficList& traffic)
    : traffic_(traffic),
      first_{controls.lblAdapter1, controls.LAN1, controls.lblA1},
      second_{controls.lblAdapter2, controls.LAN2, controls.lblA2}
{
}

void NetworkPanel::setRowVisible(const Row& row, bool visible)
{
    row.adapter->setVisible(visible);
    row.load->setVisible(visible);
    row.percent->setVisible(visible);
}

void NetworkPanel::update(int32_t nrNetwork, int32_t network1, int32_t network2)
{
    if (nrNetwork == 0) {
        first_.adapter->setText("No adapter to monitor");
        first_.load->setVisible(false);
        first_.percent->setVisible(false);
        setRowVisible(second_, false);
        return;
    }
    if (nrNetwork == 1) setRowVisible(second_, false);
    updateRow(first_, network1);
    if (nrNetwork == 2) updateRow(second_, network2);
}

void NetworkPanel::updateRow(const Row& row, int32_t position)
{
    if (position < 0 || position >= traffic_.TrafficCount()) return;
    setRowVisible(row, true);
    const TTraffic record = traffic_.TrafficAt(position);
    row.adapter->setText(record.IPAddress + " (" + record.StatusText() + ")");
    const double load = networkLoadPercent(record);
    row.load->setPosition(load);
    // The new load itself, not where the gliding bar stands yet.
    row.percent->setText(std::to_string(static_cast<int>(std::clamp(load, 0.0, 100.0))) + "%");
}

}  // namespace pelmora
