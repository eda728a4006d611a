#include "win32/WidgetSurface.h"

#include <variant>

#include "core/LayoutTable.h"
#include "core/Overloaded.h"
#include "win32/ResourcePictures.h"
#include "win32/StaticItems.h"
#include "win32/Win32Bar.h"
#include "win32/Win32Gauge.h"
#include "win32/Win32Label.h"

namespace pelmora {

namespace {

std::unique_ptr<SurfaceItem> createItem(const layout::ControlRow& row, LayoutFonts& fonts,
                                        SurfaceRepaint& repaint, Win32AnimationClock& clock)
{
    const RECT box = rectOf(row.box.left, row.box.top, row.box.width, row.box.height);
    return std::visit(
        Overloaded{
            [&](const layout::PictureDesign& d) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<PictureItem>(row.name, box, loadResourcePicture(d.picture));
            },
            [&](const layout::RuleDesign& d) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<RuleItem>(row.name, box, d.colour);
            },
            [&](const layout::FrameDesign&) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<FrameItem>(row.name, box);
            },
            [&](const layout::IconDesign& d) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<IconItem>(row.name, box, loadResourcePicture(d.picture),
                                                  d.reflectionSize, d.reflectionAxis);
            },
            [&](const layout::LabelDesign& d) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<Win32Label>(row.name, box, d, fonts.fontFor(d.font()), repaint);
            },
            [&](const layout::HotAreaDesign&) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<HotAreaItem>(row.name, box);
            },
            [&](const layout::ButtonDesign& d) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<ButtonItem>(
                    row.name, box.left, box.top, loadResourcePicture(d.picture),
                    loadResourcePicture(d.hoverPicture), std::string_view(row.name) == "btnClose");
            },
            [&](const layout::GaugeDesign& d) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<Win32Gauge>(row.name, box, d, clock);
            },
            [&](const layout::BarDesign& d) -> std::unique_ptr<SurfaceItem> {
                return std::make_unique<Win32Bar>(row.name, box, layout::barColours(d.colours), clock);
            },
        },
        row.design);
}

}  // namespace

WidgetSurface::WidgetSurface(SurfaceRepaint& repaint, AnimationSchedule::Clock nowMs)
    : clock_(repaint, std::move(nowMs))
{
    for (const layout::ControlRow& row : layout::controlRows())
        items_.push_back(createItem(row, fonts_, repaint, clock_));
    if (auto* link = dynamic_cast<Win32Label*>(item("Label1"))) link->setPointsAtSomething(true);
    for (const ControlSlot& slot : controlSlots()) {
        SurfaceItem* control = item(slot.name);
        std::visit(
            Overloaded{
                [&](Label* WidgetControls::*member) { controls_.*member = dynamic_cast<Label*>(control); },
                [&](Bar* WidgetControls::*member) { controls_.*member = dynamic_cast<Bar*>(control); },
                [&](Gauge* WidgetControls::*member) { controls_.*member = dynamic_cast<Gauge*>(control); },
            },
            slot.member);
    }
}

WidgetSurface::~WidgetSurface() = default;

SurfaceItem* WidgetSurface::item(std::string_view name) const
{
    for (const auto& item : items_) {
        if (name == item->name()) return item.get();
    }
    return nullptr;
}

SurfaceItem* WidgetSurface::itemAt(POINT point) const
{
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        const RECT box = (*it)->bounds();
        if ((*it)->shown() && ::PtInRect(&box, point)) return it->get();
    }
    return nullptr;
}

void WidgetSurface::paint(HDC dc, const RECT& clip) const
{
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    const layout::Rgb key = layout::kColourKey;
    ::SetDCBrushColor(dc, RGB(key.red, key.green, key.blue));
    ::FillRect(dc, &clip, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    {
        Gdiplus::Graphics graphics(dc);
        for (const auto& item : items_) {
            RECT box = item->bounds(), overlap;
            if (!item->shown() || !::IntersectRect(&overlap, &box, &clip)) continue;
            item->paint(dc, graphics);
            graphics.Flush(Gdiplus::FlushIntentionSync);
        }
    }
    ::RestoreDC(dc, saved);
}

}  // namespace pelmora
