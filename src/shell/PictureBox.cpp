#include "shell/PictureBox.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPaintEvent>
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

void PictureBox::keepOnlyUnder(std::function<QRegion()> repaintedAbove, std::function<QRegion()> coveredAbove,
                               std::function<QImage()> reload)
{
    // A picture with transparency is blended with what lies beneath: kept whole.
    if (!testAttribute(Qt::WA_OpaquePaintEvent)) return;
    repaintedAbove_ = std::move(repaintedAbove);
    coveredAbove_ = std::move(coveredAbove);
    reload_ = std::move(reload);
}

void PictureBox::letGoButKeptParts()
{
    if (picture_.isNull() || devicePixelRatioF() != 1.0) return;
    // The picture as paintEvent draws it.
    QImage drawn(size(), QImage::Format_RGB32);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
    painter.end();
    kept_.keep(drawn, (kept_.region() | repaintedAbove_()) - coveredAbove_());
    picture_ = QPixmap();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (picture_.isNull() && reload_) {
        if (kept_.drawIfEnough(painter, event->region(), coveredAbove_())) return;
        picture_ = QPixmap::fromImage(reload_().convertToFormat(QImage::Format_RGB32));
    }
    if (picture_.isNull()) return;
    // Drawn whole and clipped to what needs painting: a part cut out of a
    // picture scaled to a fractional size would show its seams.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
    if (repaintedAbove_) kept_.letGoAfterPaint(*this, [this] { letGoButKeptParts(); });
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
