#pragma once
// The panel steps of the widget's refresh tick, each writing its own controls.
#include <functional>

#include "core/WidgetControls.h"
#include "net/TrafficList.h"
#include "platform/Services.h"
#include "readings/CPUUsage.h"
#include "readings/DrivePanel.h"
#include "readings/MemoryPanel.h"
#include "readings/NetworkPanel.h"
#include "readings/ProcessorPanel.h"
#include "readings/RefreshCycle.h"
#include "readings/StatusPanel.h"

namespace pelmora {

class WidgetPanels : public PanelSteps {
public:
    WidgetPanels(WidgetControls& controls, Services& services, CPUUsage& cpuUsage, const TrafficList& traffic,
                 DrivePanel::SeparatorsSource separators = localeNumberSeparators,
                 std::function<void(bool)> recordsShown = {});

    // Once, while the widget window is created.
    void showProcessorNameAndClock() { processor_.showNameAndClock(); }

    void network(int32_t nrNetwork, int32_t network1, int32_t network2) override
    {
        network_.update(nrNetwork, network1, network2);
        if (recordsShown_) recordsShown_(nrNetwork > 0);
    }
    void memory() override { memory_.update(); }
    void drives(const CurrentDrives& drives) override { drives_.update(drives); }
    void systemStatus() override { status_.update(); }
    void processor() override { processor_.update(); }

private:
    NetworkPanel network_;
    MemoryPanel memory_;
    DrivePanel drives_;
    StatusPanel status_;
    ProcessorPanel processor_;
    // Told each tick whether the network panel shows a traffic record.
    std::function<void(bool)> recordsShown_;
};

}  // namespace pelmora
