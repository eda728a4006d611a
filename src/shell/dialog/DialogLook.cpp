#include "shell/dialog/DialogLook.h"

#include <QPainter>
#include <QPainterPath>
#include <span>

namespace pelmora::look {

namespace {
// The first family that exists wins; a substitution the application installs
// for the first one still applies.
QFont pixelFont(const QStringList& families, int pixels, bool bold = false, bool italic = false)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QStringList familyList(std::span<const char* const> families)
{
    QStringList list;
    for (const char* family : families) list.append(QString::fromLatin1(family));
    return list;
}

const QStringList kVerdana = familyList(settingsform::kDialogFontFamilies);
const QStringList kTahoma = familyList(settingsform::kControlFontFamilies);
}  // namespace

QFont dialogFont()
{
    return pixelFont(kVerdana, kSmallFontPixels);
}
QFont sectionCaptionFont()
{
    return pixelFont(kVerdana, kSmallFontPixels, true);
}
QFont controlFont(bool italic)
{
    return pixelFont(kTahoma, kSmallFontPixels, false, italic);
}
QFont titleFont()
{
    return pixelFont(kVerdana, settingsform::kTitleFontPixels, true);
}

QString pushButtonStyle()
{
    return QStringLiteral(
        "QPushButton { color: #10284f; border: 1px solid #4a74ad; border-radius: 3px; padding: 0px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:0.48 #e4eefb,"
        " stop:0.52 #cadcf3, stop:1 #e6effb); }"
        "QPushButton:hover { border-color: #2f62b0;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:0.48 #eaf4ff,"
        " stop:0.52 #bcd8f7, stop:1 #e2f0ff); }"
        "QPushButton:pressed { border-color: #23508f;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c2d6ef, stop:0.5 #adc7ea,"
        " stop:1 #d3e2f5); }");
}

}  // namespace pelmora::look

namespace pelmora {

void RaisedPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area.adjusted(1, 1, -1, -1), QColor(255, 255, 255, 38));
    painter.setPen(QColor(255, 255, 255, 210));
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(QColor(38, 72, 128, 170));
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());
}

SectionBox::SectionBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent)
{
    setFont(look::sectionCaptionFont());
}

void SectionBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const int frameTop = metrics.height() / 2;
    const QRectF frame = QRectF(rect()).adjusted(0.5, frameTop + 0.5, -0.5, -0.5);

    const QRect caption(8, 0, metrics.horizontalAdvance(title()), metrics.height());
    QPainterPath outline;
    outline.addRoundedRect(frame, 5, 5);
    QLinearGradient glass(0, frame.top(), 0, frame.bottom());
    glass.setColorAt(0, QColor(255, 255, 255, 120));
    glass.setColorAt(1, QColor(255, 255, 255, 70));
    painter.fillPath(outline, glass);

    // The caption sits on a gap in the top edge.
    painter.setClipRegion(QRegion(rect()).subtracted(QRegion(caption.adjusted(-2, 0, 2, 0))));
    painter.setPen(QColor(58, 96, 156, 200));
    painter.drawPath(outline);
    painter.setPen(QColor(255, 255, 255, 170));
    painter.drawRoundedRect(frame.adjusted(1, 1, -1, -1), 4, 4);
    painter.setClipping(false);

    painter.setPen(look::kCaptionText);
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, title());
}

}  // namespace pelmora
