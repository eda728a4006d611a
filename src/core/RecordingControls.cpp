#include "core/RecordingControls.h"

#include <stdexcept>

#include "core/LayoutTable.h"

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
        if (const auto* member = std::get_if<Label * WidgetControls::*>(&slot.member)) {
            labels_.push_back(std::make_unique<RecordingLabel>(designOf<layout::LabelDesign>(row).text));
            entry.label = controls_.*(*member) = labels_.back().get();
        } else if (const auto* member = std::get_if<Bar * WidgetControls::*>(&slot.member)) {
            designOf<layout::BarDesign>(row);  // the geometry is the row's, the colours are not recorded
            bars_.push_back(std::make_unique<RecordingBar>(row.box.left, row.box.width));
            entry.bar = controls_.*(*member) = bars_.back().get();
        } else {
            const auto gaugeMember = std::get<Gauge * WidgetControls::*>(slot.member);
            gauges_.push_back(
                std::make_unique<RecordingGauge>(designOf<layout::GaugeDesign>(row).designValue));
            entry.gauge = controls_.*gaugeMember = gauges_.back().get();
        }
    }
}

}  // namespace pelmora
