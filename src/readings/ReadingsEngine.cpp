#include "readings/ReadingsEngine.h"

#include <utility>

namespace pelmora {

ReadingsEngine::ReadingsEngine(Services& services, SettingsStore& store, WidgetControls& controls,
                               RefreshTimer& timer, DrivePanel::SeparatorsSource separators,
                               MonitorTiming monitorTiming)
    : services_(services),
      store_(store),
      cpuUsage_(services.performanceData),
      monitor_(services.ipHelper, intervalMs_, std::move(monitorTiming)),
      panels_(controls, services, cpuUsage_, monitor_, separators,
              [this](bool shown) { monitor_.setRecordsShown(shown); }),
      cycle_(store, timer, services.drives, panels_, intervalMs_)
{
}

ReadingsEngine::~ReadingsEngine()
{
    monitor_.StopMonitoring();
}

}  // namespace pelmora
