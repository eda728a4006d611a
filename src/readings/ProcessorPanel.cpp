#include "readings/ProcessorPanel.h"

#include <array>
#include <string>

#include "core/Rounding.h"

namespace pelmora {

ProcessorPanel::ProcessorPanel(WidgetControls& controls, CPUUsage& usage, ProcessorIdentity& identity)
    : controls_(controls), usage_(usage), identity_(identity)
{
}

void ProcessorPanel::showNameAndClock()
{
    const std::string name = identity_.name();
    const int64_t clockMHz = identity_.rawClockMHz();
    controls_.lblCPU_ID->setText(name + " @ " + std::to_string(clockMHz) + " MHz");
}

void ProcessorPanel::layOutCoreBars(int processors)
{
    WidgetControls& c = controls_;
    const int width = c.CPU->width();
    const int left = c.CPU->left();
    switch (processors) {
        case 1:
            c.Core2->setVisible(false);
            c.Core3->setVisible(false);
            c.Core4->setVisible(false);
            c.Core1->setWidth(width);
            break;
        case 2:
            c.Core3->setVisible(false);
            c.Core4->setVisible(false);
            c.Core1->setWidth(width / 2 - 5);
            c.Core2->setLeft(left + c.Core1->width() + 10);
            c.Core2->setWidth(width / 2 - 5);
            break;
        case 3:
            c.Core4->setVisible(false);
            c.Core1->setWidth(width / 3 - 5);
            c.Core2->setLeft(left + c.Core1->width() + 5);
            c.Core2->setWidth(width / 3 - 5);
            c.Core3->setLeft(left + c.Core1->width() + c.Core2->width() + 10);
            c.Core3->setWidth(width / 3 - 5);
            break;
        default:
            if (processors <= 0) {
                // Nothing to show per processor.
                for (Bar* core : {c.Core1, c.Core2, c.Core3, c.Core4}) core->setVisible(false);
            }
            break;  // four or more: the designed four bars
    }
}

void ProcessorPanel::update()
{
    usage_.SampleCPUCounters();
    const int processors = usage_.CPUSlotCount() - 1;

    // Read every load before touching a control, so a failing read changes nothing.
    std::array<double, 4> coreLoads{};
    double sum = 0;
    for (int i = 0; i < processors; ++i) {
        double load = usage_.CPULoad(i) * 100;
        if (load > 100) load = 100;  // no lower bound
        if (i < 4) coreLoads[static_cast<size_t>(i)] = load;
        sum += load;
    }
    double average = processors > 0 ? sum / processors : 0.0;
    if (average > 100) average = 100;

    layOutCoreBars(processors);
    Bar* cores[] = {controls_.Core1, controls_.Core2, controls_.Core3, controls_.Core4};
    for (int i = 0; i < processors && i < 4; ++i) cores[i]->setPosition(coreLoads[static_cast<size_t>(i)]);

    controls_.CPU1->setValue(average);  // unrounded; the gauge ignores values outside 0..100
    const int64_t rounded = roundHalfEven(average);
    controls_.lblCPU->setText(std::to_string(rounded) + "%");
    controls_.CPU->setPosition(static_cast<double>(rounded));
}

}  // namespace pelmora
