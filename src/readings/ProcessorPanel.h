#pragma once
// The processor panel: the processor's name and clock, once at start-up, and
// on every refresh tick the load of each processor on up to four small bars
// and the overall load on the gauge, its label and its bar.
#include "core/WidgetControls.h"
#include "platform/ProcessorIdentity.h"
#include "readings/CPUUsage.h"

namespace pelmora {

class ProcessorPanel {
public:
    ProcessorPanel(WidgetControls& controls, CPUUsage& usage, ProcessorIdentity& identity);

    // "name @ N MHz" into lblCPU_ID. Measures the clock: call it once, at start-up.
    void showNameAndClock();

    // The tick step: a new sample, the bar layout, the loads. Throws the
    // sampler's errors, leaving the controls as they were.
    // With no processor instance at all (only the total, or none) the core
    // bars are hidden and the overall load reads 0.
    void update();

private:
    void layOutCoreBars(int processors);

    WidgetControls& controls_;
    CPUUsage& usage_;
    ProcessorIdentity& identity_;
};

}  // namespace pelmora
