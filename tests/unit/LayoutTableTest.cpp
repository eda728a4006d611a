// What every front end relies on in the layout table and the controls built
// from it.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "core/LayoutTable.h"
#include "core/Overloaded.h"
#include "core/RecordingControls.h"

namespace pelmora {
namespace {

TEST(LayoutTable, NamesAreUniqueAndEveryBoxLiesInsideTheWindow)
{
    std::set<std::string> names;
    for (const layout::ControlRow& row : layout::controlRows()) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name << " twice";
        const layout::Box& box = row.box;
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.width > 0 && box.height > 0) << row.name;
        EXPECT_LE(box.left + box.width, layout::kWindow.width) << row.name;
        EXPECT_LE(box.top + box.height, layout::kWindow.height) << row.name;
    }
    EXPECT_THROW(layout::controlRow("lblNowhere"), std::out_of_range);
}

TEST(LayoutTable, EveryWidgetControlsMemberHasARowOfItsKind)
{
    // A member without a slot of its own would stay null in every front end.
    const auto slots = controlSlots();
    EXPECT_EQ(sizeof(WidgetControls), slots.size() * sizeof(void*));
    for (size_t i = 0; i < slots.size(); ++i) {
        for (size_t j = i + 1; j < slots.size(); ++j)
            EXPECT_FALSE(slots[i].member == slots[j].member) << slots[j].name;
    }
    for (const ControlSlot& slot : slots) {
        const layout::ControlRow& row = layout::controlRow(slot.name);
        const bool matches =
            std::visit(Overloaded{
                           [&](Label* WidgetControls::*) { return row.as<layout::LabelDesign>() != nullptr; },
                           [&](Bar* WidgetControls::*) { return row.as<layout::BarDesign>() != nullptr; },
                           [&](Gauge* WidgetControls::*) { return row.as<layout::GaugeDesign>() != nullptr; },
                       },
                       slot.member);
        EXPECT_TRUE(matches) << slot.name;
    }
}

TEST(RecordingWidget, StartsFromTheTablesDesignTextsAndGeometry)
{
    RecordingWidget widget;
    ASSERT_EQ(widget.entries().size(), controlSlots().size());
    for (const RecordingWidget::Entry& entry : widget.entries()) {
        const layout::ControlRow& row = layout::controlRow(entry.name);
        if (entry.label) {
            EXPECT_EQ(entry.label->text(), row.as<layout::LabelDesign>()->text) << entry.name;
        } else if (entry.bar) {
            EXPECT_EQ(entry.bar->left(), row.box.left) << entry.name;
            EXPECT_EQ(entry.bar->width(), row.box.width) << entry.name;
        } else {
            ASSERT_TRUE(entry.gauge);
            EXPECT_EQ(entry.gauge->value(), row.as<layout::GaugeDesign>()->designValue);
        }
    }
}

}  // namespace
}  // namespace pelmora
