#include "shell/ImageButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace pelmora {

ImageButton::ImageButton(const QImage& normal, const QImage& hover, Glyph fallback, QWidget* parent)
    : QWidget(parent)
{
    normal_ = normal.isNull() ? fallbackPicture(fallback, false) : keyedOut(normal);
    hover_ = hover.isNull() ? fallbackPicture(fallback, true) : keyedOut(hover);
    resize(normal_.deviceIndependentSize().toSize());
}

QPixmap ImageButton::keyedOut(const QImage& picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparentColour().rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] | 0xff000000u) == key) row[x] = 0;
        }
    }
    return QPixmap::fromImage(image);
}

QPixmap ImageButton::fallbackPicture(Glyph glyph, bool light)
{
    QPixmap picture(kSide, kSide);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(227, 239, 255), 1.0));
    painter.setBrush(light ? QColor(125, 165, 224) : QColor(0, 45, 150));
    painter.drawEllipse(QRectF(1.5, 1.5, kSide - 3, kSide - 3));
    painter.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap));
    if (glyph == Glyph::Minimize) {
        painter.drawLine(QPointF(7, 11), QPointF(15, 11));
    } else {
        painter.drawLine(QPointF(8, 8), QPointF(14, 14));
        painter.drawLine(QPointF(14, 8), QPointF(8, 14));
    }
    return picture;
}

void ImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), showsHoverPicture() ? hover_ : normal_);
}

void ImageButton::enterEvent(QEnterEvent*)
{
    hovered_ = true;
    update();
}

void ImageButton::leaveEvent(QEvent*)
{
    hovered_ = false;
    update();
}

void ImageButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        update();
    }
    event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    update();
    event->accept();
    if (click) emit clicked();
}

}  // namespace pelmora
