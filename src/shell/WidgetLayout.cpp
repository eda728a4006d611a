#include "shell/WidgetLayout.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>

#include "shell/DialGauge.h"
#include "shell/FontSubstitutions.h"
#include "shell/GlideBar.h"
#include "shell/HotArea.h"
#include "shell/ImageButton.h"
#include "shell/ImageRegions.h"
#include "shell/LayoutTables.h"
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

template <typename W>
W* named(W* widget, const char* name, const QRect& geometry)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace

WidgetLayout::WidgetLayout(QWidget* parent) : QWidget(parent)
{
    installFontSubstitutions();
    setFixedSize(layout::kWindow.width, layout::kWindow.height);
    // The surface is painted whole in the colour key; nothing shows beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);

    // Creation order is stacking order: the body picture beneath everything,
    // the icons beneath their captions, the hot areas above the texts they
    // cover, the gauge and the bars above all.
    createPictures();
    createLabels();
    createTitleControls();
    createGaugeAndBars();
    fillControls();
    // A frame of the animation clock repaints boxes of the window in one
    // pass, and a window leaves out of its own repaint whatever lies under a
    // control marked opaque: none is, so a bar over the body picture is
    // repainted too.
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        control->setAttribute(Qt::WA_OpaquePaintEvent, false);
    }
}

void WidgetLayout::createPictures()
{
    auto* body =
        named(new PictureBox(loadResourcePicture(QString::fromLatin1(layout::kBodyPictureAlias)), this),
              "Image2", toRect(layout::kBodyPicture));
    connect(body, &PictureBox::contextMenuRequested, this, &WidgetLayout::bodyContextMenuRequested);

    named(new FilledRule(toColour(layout::kRuleColour), this), "Shape1", toRect(layout::kRule));
    for (const layout::FrameRow& frame : layout::frameRows()) {
        named(new RoundedFrame(this), frame.name, toRect(frame.box));
    }
    for (const layout::IconRow& icon : layout::iconRows()) {
        const QImage picture = loadResourcePicture(QString::fromLatin1(icon.picture));
        named(new ReflectionImage(picture, icon.reflectionSize, icon.reflectionAxis, this), icon.name,
              toRect(icon.box));
    }
}

void WidgetLayout::createLabels()
{
    for (const layout::LabelRow& row : layout::labelRows()) {
        const LabelLook look{layoutFont(QString::fromLatin1(row.family), row.pixelSize, row.styles),
                             row.alignment, row.fixedBox};
        auto* label = new QtLabel(QString::fromLatin1(row.text), toRect(row.box), look, this);
        label->setObjectName(QString::fromLatin1(row.name));
        connect(label, &QtLabel::shapeChanged, this, [this, label] { markShapeChanged(label); });
        cutAt_.insert(label, label->geometry());
    }
    control("Label1")->setCursor(Qt::PointingHandCursor);
}

void WidgetLayout::createTitleControls()
{
    auto* settings = named(new HotArea(this), layout::kSettingsArea.name, toRect(layout::kSettingsArea.box));
    connect(settings, &HotArea::clicked, this, &WidgetLayout::settingsClicked);
    auto* link = named(new HotArea(this), layout::kLinkArea.name, toRect(layout::kLinkArea.box));
    connect(link, &HotArea::clicked, this, &WidgetLayout::linkClicked);

    auto* minimize = new ImageButton(loadResourcePicture(QStringLiteral("btn-minimize.png")),
                                     loadResourcePicture(QStringLiteral("btn-minimize-hover.png")),
                                     ImageButton::Glyph::Minimize, this);
    minimize->setObjectName(QStringLiteral("btnMinimize"));
    minimize->move(layout::kMinimizeButton.left, layout::kMinimizeButton.top);
    connect(minimize, &ImageButton::clicked, this, &WidgetLayout::minimizeClicked);

    auto* close = new ImageButton(loadResourcePicture(QStringLiteral("btn-close.png")),
                                  loadResourcePicture(QStringLiteral("btn-close-hover.png")),
                                  ImageButton::Glyph::Close, this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->move(layout::kCloseButton.left, layout::kCloseButton.top);
    connect(close, &ImageButton::clicked, this, &WidgetLayout::closeClicked);
}

void WidgetLayout::createGaugeAndBars()
{
    GaugeLook look;
    look.scaleFont = layoutFont(QStringLiteral("Tahoma"), 19);
    look.valueFont = layoutFont(QStringLiteral("Tahoma"), 15);
    named(new DialGauge(look, clock_, layout::kGaugeDesignValue, this), "CPU1", toRect(layout::kGauge));

    for (const layout::BarRow& row : layout::barRows()) {
        const layout::BarColourRow colours = layout::barColours(row.colours);
        const BarColours barColours{toColour(colours.background), toColour(colours.fillTop),
                                    toColour(colours.fillBottom), toColour(colours.fillBorder)};
        auto* bar = named(new GlideBar(barColours, clock_, this), row.name, toRect(row.box));
        connect(bar, &GlideBar::shapeChanged, this, [this, bar] { markShapeChanged(bar); });
        cutAt_.insert(bar, bar->geometry());
    }
}

void WidgetLayout::fillControls()
{
    WidgetControls& c = controls_;
    auto label = [this](const char* name) { return static_cast<Label*>(control<QtLabel>(name)); };
    auto bar = [this](const char* name) { return static_cast<Bar*>(control<GlideBar>(name)); };

    c.lblCPU_ID = label("lblCPU_ID");
    c.CPU1 = control<DialGauge>("CPU1");
    c.lblCPU = label("lblCPU");
    c.CPU = bar("CPU");
    c.Core1 = bar("Core1");
    c.Core2 = bar("Core2");
    c.Core3 = bar("Core3");
    c.Core4 = bar("Core4");

    c.Phys = bar("Phys");
    c.lblPhys = label("lblPhys");
    c.Virt = bar("Virt");

    c.lblDrive1 = label("lblDrive1");
    c.lblDrive1Free = label("lblDrive1Free");
    c.Drive1 = bar("Drive1");
    c.lblDrive2 = label("lblDrive2");
    c.lblDrive2Free = label("lblDrive2Free");
    c.Drive2 = bar("Drive2");

    c.lblUpTime = label("lblUpTime");
    c.lblCompName = label("lblCompName");
    c.lblLocalUser = label("lblLocalUser");
    c.lblDomainName = label("lblDomainName");
    c.lblRes = label("lblRes");
    c.lblVol = label("lblVol");
    c.lblBatStatus = label("lblBatStatus");
    c.lblBatTime = label("lblBatTime");

    c.lblAdapter1 = label("lblAdapter1");
    c.LAN1 = bar("LAN1");
    c.lblA1 = label("lblA1");
    c.lblAdapter2 = label("lblAdapter2");
    c.LAN2 = bar("LAN2");
    c.lblA2 = label("lblA2");
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

void WidgetLayout::setColourKeyed(bool on)
{
    colourKeyed_ = on;
    if (!on) {
        setWindowShape(QRegion());
        window()->setWindowOpacity(1.0);
        return;
    }
    window()->setWindowOpacity(kOpacity / 255.0);
    mask_ = QRegion();
    applyMask();
}

void WidgetLayout::markShapeChanged(QWidget* control)
{
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
    // Only the boxes of the controls that changed are drawn again: a refresh
    // tick changes a few labels, not the whole surface.
    if (mask_.isEmpty()) {
        mask_ = colourKeyMask();
    } else {
        for (const QRect& box : changed_) mask_ = mask_.subtracted(box).united(colourKeyMaskWithin(box));
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
