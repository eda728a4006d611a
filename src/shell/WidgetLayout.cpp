#include "shell/WidgetLayout.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <string_view>
#include <variant>

#include "core/LayoutTable.h"
#include "core/Overloaded.h"
#include "core/StartupTrace.h"
#include "shell/DialGauge.h"
#include "shell/FontSubstitutions.h"
#include "shell/GlideBar.h"
#include "shell/HotArea.h"
#include "shell/ImageButton.h"
#include "shell/ImageRegions.h"
#include "shell/PictureBox.h"
#include "shell/QtLabel.h"
#include "shell/ReflectionImage.h"
#include "shell/ResourcePicture.h"
#include "shell/Shapes.h"

namespace pelmora {

namespace {

QRect toRect(const layout::Box& box)
{
    return {box.left, box.top, box.width, box.height};
}

QColor toColour(const layout::Rgb& rgb)
{
    return {rgb.red, rgb.green, rgb.blue};
}

// The picture drawn for the scale of the screen `parent` is on.
QImage picture(const char* alias, const QWidget* parent)
{
    return loadResourcePicture(QString::fromLatin1(alias), parent->devicePixelRatioF());
}

// The control of one row, at its place; the caller names it and connects it.
QWidget* createControl(const layout::ControlRow& row, AnimationClock& clock, QWidget* parent)
{
    const QRect box = toRect(row.box);
    return std::visit(
        Overloaded{
            [&](const layout::PictureDesign& design) -> QWidget* {
                return new PictureBox(picture(design.picture, parent), parent);
            },
            [&](const layout::RuleDesign& design) -> QWidget* {
                return new FilledRule(toColour(design.colour), parent);
            },
            [&](const layout::FrameDesign&) -> QWidget* { return new RoundedFrame(parent); },
            [&](const layout::IconDesign& design) -> QWidget* {
                return new ReflectionImage(picture(design.picture, parent), design.reflectionSize,
                                           design.reflectionAxis, parent);
            },
            [&](const layout::LabelDesign& design) -> QWidget* {
                const LabelLook look{layoutFont(design.font()), design.alignment, design.fixedBox};
                return new QtLabel(QString::fromLatin1(design.text), box, look, parent);
            },
            [&](const layout::HotAreaDesign&) -> QWidget* { return new HotArea(parent); },
            [&](const layout::ButtonDesign& design) -> QWidget* {
                const auto fallback = std::string_view(row.name) == "btnClose" ? ImageButton::Glyph::Close
                                                                               : ImageButton::Glyph::Minimize;
                return new ImageButton(picture(design.picture, parent), picture(design.hoverPicture, parent),
                                       fallback, parent);
            },
            [&](const layout::GaugeDesign& design) -> QWidget* {
                GaugeLook look;
                look.scaleFont = layoutFont(design.scaleFont);
                look.valueFont = layoutFont(design.valueFont);
                return new DialGauge(look, clock, design.designValue, parent);
            },
            [&](const layout::BarDesign& design) -> QWidget* {
                const layout::BarColours colours = layout::barColours(design.colours);
                return new GlideBar({toColour(colours.background), toColour(colours.fillTop),
                                     toColour(colours.fillBottom), toColour(colours.fillBorder)},
                                    clock, parent);
            },
        },
        row.design);
}

}  // namespace

QColor WidgetLayout::colourKey()
{
    return toColour(layout::kColourKey);
}

QStringList WidgetLayout::pictureAliases()
{
    QStringList aliases;
    for (const layout::ControlRow& row : layout::controlRows()) {
        std::visit(Overloaded{
                       [&](const layout::PictureDesign& d) { aliases << QString::fromLatin1(d.picture); },
                       [&](const layout::IconDesign& d) { aliases << QString::fromLatin1(d.picture); },
                       [&](const layout::ButtonDesign& d) {
                           aliases << QString::fromLatin1(d.picture) << QString::fromLatin1(d.hoverPicture);
                       },
                       [](const auto&) {},
                   },
                   row.design);
    }
    return aliases;
}

WidgetLayout::WidgetLayout(QWidget* parent) : QWidget(parent)
{
    installFontSubstitutions();
    setFixedSize(layout::kWindow.width, layout::kWindow.height);
    // The surface is painted whole in the colour key; nothing shows beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);

    // Creation order is stacking order, the table's.
    for (const layout::ControlRow& row : layout::controlRows()) {
        QWidget* control = createControl(row, clock_, this);
        control->setObjectName(QString::fromLatin1(row.name));
        // A picture button takes its picture's size; a label may fit its text.
        if (row.as<layout::ButtonDesign>()) {
            control->move(row.box.left, row.box.top);
        } else if (!row.as<layout::LabelDesign>()) {
            control->setGeometry(toRect(row.box));
        }
    }
    markStartup("controls created, pictures decoded");
    connectControls();
    fillControls();
    keepOfThePicturesOnlyWhatRepaints();
    // A frame of the animation clock repaints boxes of this surface in one
    // pass, and a widget leaves out of its own repaint whatever lies under a
    // control marked opaque: none is, so a bar over the body picture is
    // repainted too.
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        control->setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
}

namespace {

// Pictures, frames and rules: drawn once, never changed afterwards.
bool drawnOnce(const QWidget* control)
{
    return qobject_cast<const PictureBox*>(control) || dynamic_cast<const ReflectionImage*>(control) ||
           dynamic_cast<const RoundedFrame*>(control) || dynamic_cast<const FilledRule*>(control) ||
           qobject_cast<const HotArea*>(control);  // draws nothing
}

const char* bodyPicture()
{
    for (const layout::ControlRow& row : layout::controlRows()) {
        if (const auto* design = row.as<layout::PictureDesign>()) return design->picture;
    }
    return "";
}

}  // namespace

void WidgetLayout::keepOfThePicturesOnlyWhatRepaints()
{
    // The boxes of the controls stacked above `below` that `which` takes, in its pixels.
    auto boxesAbove = [this](const QWidget* below, auto which) {
        QRegion boxes;
        for (qsizetype i = children().indexOf(below) + 1; i < children().size(); ++i) {
            auto* above = qobject_cast<QWidget*>(children().at(i));
            if (above && which(above)) boxes |= above->geometry().translated(-below->pos());
        }
        return boxes;
    };
    // Not the other pictures, frames and rules, drawn once.
    const auto repaints = [](const QWidget* above) { return !drawnOnce(above); };
    for (const layout::ControlRow& row : layout::controlRows()) {
        const auto* icon = row.as<layout::IconDesign>();
        auto* reflection = icon ? dynamic_cast<ReflectionImage*>(control(row.name)) : nullptr;
        if (!reflection) continue;
        reflection->keepOnlyUnder([=] { return boxesAbove(reflection, repaints); },
                                  [this, icon] { return picture(icon->picture, this); });
    }
    auto* body = control<PictureBox>("Image2");
    if (!body) return;
    body->keepOnlyUnder([=] { return boxesAbove(body, repaints); },
                        // A bar fills its box with opaque colours.
                        [=, this] {
                            return boxesAbove(body, [this](const QWidget* above) {
                                return qobject_cast<const GlideBar*>(above) && above->isVisibleTo(this);
                            });
                        },
                        [this] { return picture(bodyPicture(), this); });
}

void WidgetLayout::connectControls()
{
    for (auto* label : findChildren<QtLabel*>(Qt::FindDirectChildrenOnly)) {
        connect(label, &QtLabel::shapeChanged, this, [this, label] { markShapeChanged(label); });
        cutAt_.insert(label, label->geometry());
    }
    for (auto* bar : findChildren<GlideBar*>(Qt::FindDirectChildrenOnly)) {
        connect(bar, &GlideBar::shapeChanged, this, [this, bar] { markShapeChanged(bar); });
        cutAt_.insert(bar, bar->geometry());
    }
    control("Label1")->setCursor(Qt::PointingHandCursor);
    connect(control<PictureBox>("Image2"), &PictureBox::contextMenuRequested, this,
            &WidgetLayout::bodyContextMenuRequested);
    connect(control<HotArea>("imgSettings"), &HotArea::clicked, this, &WidgetLayout::settingsClicked);
    connect(control<HotArea>("Image1"), &HotArea::clicked, this, &WidgetLayout::linkClicked);
    connect(control<ImageButton>("btnMinimize"), &ImageButton::clicked, this, &WidgetLayout::minimizeClicked);
    connect(control<ImageButton>("btnClose"), &ImageButton::clicked, this, &WidgetLayout::closeClicked);
}

void WidgetLayout::fillControls()
{
    for (const ControlSlot& slot : controlSlots()) {
        std::visit(
            Overloaded{
                [&](Label* WidgetControls::*member) { controls_.*member = control<QtLabel>(slot.name); },
                [&](Bar* WidgetControls::*member) { controls_.*member = control<GlideBar>(slot.name); },
                [&](Gauge* WidgetControls::*member) { controls_.*member = control<DialGauge>(slot.name); },
            },
            slot.member);
    }
}

void WidgetLayout::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), colourKey());
}

QRegion WidgetLayout::colourKeyMask()
{
    return colourKeyMaskWithin(rect());
}

QRegion WidgetLayout::colourKeyMaskWithin(const QRect& box)
{
    QImage drawn(box.size(), QImage::Format_RGB32);
    drawn.fill(colourKey());
    // The shape already set must not hide what has grown since it was cut.
    render(&drawn, QPoint(), QRegion(box),
           QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
    return regionWithoutColour(drawn, colourKey()).translated(box.topLeft());
}

QRegion WidgetLayout::colourKeyMaskInDevicePixels(qreal ratio)
{
    QImage drawn((QSizeF(size()) * ratio).toSize(), QImage::Format_RGB32);
    drawn.setDevicePixelRatio(ratio);
    drawn.fill(colourKey());
    render(&drawn, QPoint(), QRegion(rect()),
           QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
    return regionWithoutColour(drawn, colourKey());
}

void WidgetLayout::setDeviceShapeHandler(std::function<bool(const QRegion& devicePixels)> handler)
{
    deviceShape_ = std::move(handler);
}

void WidgetLayout::setColourKeyed(bool on)
{
    colourKeyed_ = on;
    if (!on) {
        setWindowShape(QRegion());
        window()->setWindowOpacity(1.0);
        return;
    }
    window()->setWindowOpacity(layout::kWindowOpacity / 255.0);
    // Before the first paint, while the body picture is held whole.
    if (!overOpaqueFound_) findLabelsOverOpaquePixels();
    mask_ = QRegion();
    applyMask();
}

void WidgetLayout::findLabelsOverOpaquePixels()
{
    overOpaqueFound_ = true;
    // Only what never changes once drawn: the readings' labels and the
    // controls above them (bars, gauge, buttons) are left out.
    QImage drawn(size(), QImage::Format_RGB32);
    drawn.fill(colourKey());
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!drawnOnce(control) || !control->isVisibleTo(this)) continue;
        control->render(&drawn, control->pos(), QRegion(), QWidget::DrawChildren | QWidget::IgnoreMask);
    }
    const QRegion opaque = regionWithoutColour(drawn, colourKey());
    for (auto* label : findChildren<QtLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->look().fixedBox && QRegion(label->geometry()).subtracted(opaque).isEmpty()) {
            overOpaque_.insert(label);
        }
    }
}

void WidgetLayout::markShapeChanged(QWidget* control)
{
    // A text drawn over opaque pixels leaves the shape as it is, whatever it says.
    if (overOpaque_.contains(control)) return;
    // Cut again where the control stood and where it stands now.
    const auto last = cutAt_.constFind(control);
    if (last != cutAt_.constEnd()) changed_ += *last;
    changed_ += control->geometry();
    cutAt_.insert(control, control->geometry());
    scheduleMaskUpdate();
}

void WidgetLayout::scheduleMaskUpdate()
{
    // Several labels change in one refresh tick: cut the shape once after it.
    if (!colourKeyed_ || maskUpdatePending_) return;
    maskUpdatePending_ = true;
    QTimer::singleShot(0, this, [this] {
        maskUpdatePending_ = false;
        if (colourKeyed_) applyMask();
    });
}

void WidgetLayout::applyMask()
{
    const qreal ratio = devicePixelRatioF();
    if (ratio != 1.0 && deviceShape_) {
        // Drawn afresh as a whole: the boxes' edges are not whole device pixels.
        const QPoint origin = mapTo(window(), QPoint(0, 0));
        ++shapeCuts_;
        const QRegion shape = colourKeyMaskInDevicePixels(ratio).translated(qRound(origin.x() * ratio),
                                                                            qRound(origin.y() * ratio));
        if (deviceShape_(shape)) {
            mask_ = QRegion();
            changed_ = QRegion();
            return;
        }
    }
    // Only the boxes of the controls that changed are drawn again: a refresh
    // tick changes a few labels, not the whole surface.
    ++shapeCuts_;
    if (mask_.isEmpty()) {
        mask_ = colourKeyMask();
    } else {
        const QRegion before = mask_;
        for (const QRect& box : changed_) mask_ = mask_.subtracted(box).united(colourKeyMaskWithin(box));
        changed_ = QRegion();
        // A label whose new text stands on the body picture leaves the shape
        // as it was: no request to the server, no repaint by the compositor.
        if (mask_ == before) return;
    }
    changed_ = QRegion();
    setWindowShape(mask_.translated(mapTo(window(), QPoint(0, 0))));
}

QRegion WidgetLayout::windowShape() const
{
    const QWindow* handle = window()->windowHandle();
    return handle ? handle->mask() : QRegion();
}

void WidgetLayout::setWindowShape(const QRegion& shape)
{
    // The shape goes to the native window only. As the widget's own mask it
    // would also clip every paint of every control to its many rectangles.
    window()->winId();
    window()->windowHandle()->setMask(shape);
}

void WidgetLayout::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    const QPoint at = event->position().toPoint();
    // A press on a control (a label, a frame, the body picture) is not a
    // press on the window's surface: it starts no drag.
    if (childAt(at) != nullptr) return;
    emit surfaceMousePressed(event->button(), at, event->globalPosition().toPoint());
}

void WidgetLayout::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit surfaceMouseMoved(event->position().toPoint(), event->globalPosition().toPoint());
}

void WidgetLayout::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit surfaceMouseReleased(event->button(), event->position().toPoint(),
                              event->globalPosition().toPoint());
}

}  // namespace pelmora
