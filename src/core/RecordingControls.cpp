#include "core/RecordingControls.h"

#include <stdexcept>

#include "core/LayoutTable.h"
#include "core/Overloaded.h"

namespace pelmora {

namespace {

template <typename Design>
const Design& designOf(const layout::ControlRow& row)
{
    if (const auto* design = row.as<Design>()) return *design;
    throw std::logic_error(std::string("the layout's ") + row.name +
                           " is not the kind of control WidgetControls holds");
}

}  // namespace

RecordingWidget::RecordingWidget()
{
    for (const ControlSlot& slot : controlSlots()) {
        const layout::ControlRow& row = layout::controlRow(slot.name);
        Entry& entry = entries_.emplace_back(Entry{slot.name});
        std::visit(
            Overloaded{
                [&](Label* WidgetControls::*member) {
                    const auto& design = designOf<layout::LabelDesign>(row);
                    auto& label = labels_.emplace_back(std::make_unique<RecordingLabel>(design.text));
                    entry.label = controls_.*member = label.get();
                },
                [&](Bar* WidgetControls::*member) {
                    designOf<layout::BarDesign>(row);  // the box is the row's; colours are not recorded
                    auto& bar =
                        bars_.emplace_back(std::make_unique<RecordingBar>(row.box.left, row.box.width));
                    entry.bar = controls_.*member = bar.get();
                },
                [&](Gauge* WidgetControls::*member) {
                    const auto& design = designOf<layout::GaugeDesign>(row);
                    auto& gauge = gauges_.emplace_back(std::make_unique<RecordingGauge>(design.designValue));
                    entry.gauge = controls_.*member = gauge.get();
                },
            },
            slot.member);
    }
}

}  // namespace pelmora
