#include "shell/PictureBox.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>

namespace pelmora {

namespace {

bool fullyOpaque(const QImage& image)
{
    if (!image.hasAlphaChannel()) return true;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(row[x]) != 255) return false;
        }
    }
    return true;
}

}  // namespace

PictureBox::PictureBox(const QImage& picture, QWidget* parent) : QWidget(parent)
{
    if (picture.isNull()) return;
    // A photo (the body picture) covers its box: drawn without blending, and
    // nothing beneath it needs repainting.
    const bool opaque = fullyOpaque(picture);
    picture_ = QPixmap::fromImage(opaque ? picture.convertToFormat(QImage::Format_RGB32) : picture);
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
    resize(picture_.deviceIndependentSize().toSize());
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (picture_.isNull()) return;
    // Drawn whole and clipped to what needs painting: a part cut out of a
    // picture scaled to a fractional size would show its seams.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
}

void PictureBox::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    emit contextMenuRequested(event->globalPos());
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    // A press on the picture is the picture's own: it starts no drag.
    event->accept();
}

}  // namespace pelmora
