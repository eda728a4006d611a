#include "readings/WidgetPanels.h"

#include <utility>

namespace pelmora {

WidgetPanels::WidgetPanels(WidgetControls& controls, Services& services, CPUUsage& cpuUsage,
                           const TrafficList& traffic, DrivePanel::SeparatorsSource separators,
                           std::function<void(bool)> recordsShown)
    : network_(controls, traffic),
      memory_(controls, services.memory),
      drives_(controls, services.drives, separators),
      status_(controls, services.tickCount, services.names, services.display, services.audio, services.power),
      processor_(controls, cpuUsage, services.processor),
      recordsShown_(std::move(recordsShown))
{
}

}  // namespace pelmora
