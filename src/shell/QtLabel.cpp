#include "shell/QtLabel.h"

#include <QFontMetrics>
#include <QPainter>

namespace pelmora {

namespace {

Qt::Alignment qtAlignment(TextAlignment alignment)
{
    switch (alignment) {
        case TextAlignment::Right:
            return Qt::AlignRight | Qt::AlignTop;
        case TextAlignment::Centre:
            return Qt::AlignHCenter | Qt::AlignTop;
        case TextAlignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

}  // namespace

QtLabel::QtLabel(const QString& text, const QRect& designGeometry, const LabelLook& look, QWidget* parent)
    : QWidget(parent), text_(text), look_(look)
{
    setFont(look_.font);
    setGeometry(designGeometry);
    fitToText();
}

void QtLabel::setText(const std::string& text)
{
    setText(QString::fromStdString(text));
}

void QtLabel::setText(const QString& text)
{
    if (text == text_) return;
    text_ = text;
    fitToText();
    rendered_ = QPixmap();
    update();
    emit shapeChanged();
}

std::string QtLabel::text() const
{
    return text_.toStdString();
}

void QtLabel::setVisible(bool visible)
{
    const bool wasShown = isVisible();
    QWidget::setVisible(visible);
    if (wasShown != visible) emit shapeChanged();
}

bool QtLabel::isVisible() const
{
    // Its own visibility, as the readings set it, whether the window is
    // shown yet or not.
    return parentWidget() ? isVisibleTo(parentWidget()) : QWidget::isVisible();
}

void QtLabel::fitToText()
{
    if (look_.fixedBox) return;
    const QFontMetrics metrics(look_.font);
    const QSize fitted(metrics.horizontalAdvance(text_), metrics.height());
    QRect box = geometry();
    if (look_.alignment == TextAlignment::Right) {
        box.setLeft(box.right() + 1 - fitted.width());
    } else {
        box.setWidth(fitted.width());
    }
    box.setHeight(fitted.height());
    setGeometry(box);
}

void QtLabel::resizeEvent(QResizeEvent*)
{
    rendered_ = QPixmap();
}

void QtLabel::renderText()
{
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    if (!text_.isEmpty() && !size().isEmpty()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(look_.font);
        painter.setPen(textColour());
        // Whatever does not fit a fixed box is cut off at its edges.
        painter.drawText(rect(), qtAlignment(look_.alignment) | Qt::TextSingleLine, text_);
    }
    rendered_ = QPixmap::fromImage(image.copy());
}

void QtLabel::paintEvent(QPaintEvent*)
{
    // Drawn when first painted: the first refresh replaces most texts before
    // the window is shown, and a label may be resized more than once.
    if (rendered_.isNull() || rendered_.devicePixelRatio() != devicePixelRatioF()) renderText();
    QPainter painter(this);
    painter.drawPixmap(0, 0, rendered_);
}

}  // namespace pelmora
