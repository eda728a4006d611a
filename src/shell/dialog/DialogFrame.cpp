#include "shell/dialog/DialogFrame.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

#include "shell/dialog/DialogLook.h"

namespace pelmora {

namespace {
constexpr int kButtonTop = 8;
constexpr int kButtonMargin = 8;
constexpr QSize kSystemMenuButtonSize{21, 21};
constexpr QSize kCloseButtonSize{29, 21};
}  // namespace

TitleBarButton::TitleBarButton(Glyph glyph, QWidget* parent) : QAbstractButton(parent), glyph_(glyph)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    resize(glyph == Close ? kCloseButtonSize : kSystemMenuButtonSize);
}

void TitleBarButton::enterEvent(QEnterEvent* event)
{
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TitleBarButton::leaveEvent(QEvent* event)
{
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TitleBarButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    if (glyph_ == Close) {
        QLinearGradient fill(0, 0, 0, height());
        if (isDown()) {
            fill.setColorAt(0, QColor(150, 36, 26));
            fill.setColorAt(1, QColor(196, 62, 44));
        } else if (hovered_) {
            fill.setColorAt(0, QColor(240, 128, 108));
            fill.setColorAt(0.5, QColor(214, 66, 46));
            fill.setColorAt(1, QColor(232, 110, 84));
        } else {
            fill.setColorAt(0, QColor(255, 255, 255, 90));
            fill.setColorAt(0.5, QColor(255, 255, 255, 35));
            fill.setColorAt(1, QColor(255, 255, 255, 60));
        }
        painter.setPen(QColor(28, 52, 100, 200));
        painter.setBrush(fill);
        painter.drawRoundedRect(area, 4, 4);
        painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        const QPointF centre = area.center();
        painter.drawLine(centre + QPointF(-4, -4), centre + QPointF(4, 4));
        painter.drawLine(centre + QPointF(-4, 4), centre + QPointF(4, -4));
        return;
    }

    // System menu: a small glass dial.
    if (hovered_ || isDown()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, isDown() ? 40 : 70));
        painter.drawRoundedRect(area, 4, 4);
    }
    const QRectF dial = area.adjusted(3, 3, -3, -3);
    QRadialGradient glass(dial.center() + QPointF(-2, -3), dial.width());
    glass.setColorAt(0, QColor(235, 245, 255));
    glass.setColorAt(1, QColor(92, 142, 210));
    painter.setPen(QPen(QColor(26, 58, 112), 1));
    painter.setBrush(glass);
    painter.drawEllipse(dial);
    painter.setPen(QPen(QColor(26, 58, 112), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(dial.center() + QPointF(0, 2), dial.center() + QPointF(4, -3));
}

DialogTitleBar::DialogTitleBar(const QString& caption, QWidget* parent)
    : QWidget(parent),
      caption_(caption),
      systemMenuButton_(new TitleBarButton(TitleBarButton::SystemMenu, this)),
      closeButton_(new TitleBarButton(TitleBarButton::Close, this)),
      systemMenu_(new QMenu(this))
{
    systemMenuButton_->setToolTip(QStringLiteral("Window menu"));
    closeButton_->setToolTip(QStringLiteral("Close"));
    systemMenu_->addAction(QStringLiteral("Close"), this, &DialogTitleBar::closeRequested);
    connect(systemMenuButton_, &QAbstractButton::clicked, this, [this] {
        systemMenu_->popup(systemMenuButton_->mapToGlobal(QPoint(0, systemMenuButton_->height())));
    });
    connect(closeButton_, &QAbstractButton::clicked, this, &DialogTitleBar::closeRequested);
    systemMenuButton_->move(kButtonMargin, kButtonTop);
}

void DialogTitleBar::resizeEvent(QResizeEvent*)
{
    closeButton_->move(width() - kButtonMargin - closeButton_->width(), kButtonTop);
}

void DialogTitleBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect bar = rect();
    QLinearGradient glass(0, 0, 0, bar.height());
    glass.setColorAt(0, QColor(134, 172, 224));
    glass.setColorAt(0.48, QColor(90, 133, 196));
    glass.setColorAt(0.52, QColor(68, 110, 176));
    glass.setColorAt(1, QColor(92, 137, 201));
    painter.fillRect(bar, glass);
    painter.setPen(QColor(255, 255, 255, 120));
    painter.drawLine(bar.left(), 1, bar.right(), 1);
    painter.setPen(QColor(36, 66, 120));
    painter.drawLine(bar.bottomLeft(), bar.bottomRight());

    const QRect text(systemMenuButton_->geometry().right() + 9, 0,
                     closeButton_->x() - systemMenuButton_->geometry().right() - 18, bar.height());
    painter.setFont(look::titleFont());
    painter.setPen(QColor(10, 30, 70, 130));
    painter.drawText(text.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, caption_);
    painter.setPen(Qt::white);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, caption_);
}

void DialogTitleBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    // The window manager moves the window where it can; otherwise we follow the mouse.
    QWindow* handle = window()->windowHandle();
    if (handle && handle->startSystemMove()) return;
    dragging_ = true;
    grabOffset_ = event->globalPosition().toPoint() - window()->pos();
}

void DialogTitleBar::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) window()->move(event->globalPosition().toPoint() - grabOffset_);
}

void DialogTitleBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) dragging_ = false;
}

FrameBorder::FrameBorder(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(parent->rect());
}

void FrameBorder::resizeEvent(QResizeEvent*)
{
    setMask(QRegion(rect()).subtracted(QRegion(rect().adjusted(1, 1, -1, -1))));
}

void FrameBorder::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

}  // namespace pelmora
