#include "shell/DialGauge.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "core/GaugeScale.h"

namespace pelmora {

namespace {

using gauge::kArcRadius;
using gauge::kBandInner;
using gauge::kNeedleLength;
using gauge::kStartAngleDeg;
using gauge::kSweepDeg;
constexpr int kAngleSteps = 1;  // a degree moves the needle's tip under half a pixel

QPointF polar(const QPointF& centre, double radius, double angleDeg)
{
    const double radians = qDegreesToRadians(angleDeg);
    return centre + QPointF(radius * std::cos(radians), -radius * std::sin(radians));
}

// The largest pixel size, from the font's own down to 6, at which `sample`
// fits the box. Each size tried loads a font engine (about a millisecond):
// the search starts a little above the size the font's own metrics,
// scaled, predict, not at the font's own size. Three sizes above leave
// room for the whole pixels that hinting rounds advances and cap heights to.
QFont fitted(QFont font, const QString& sample, double width, double height)
{
    const int ownSize = font.pixelSize();
    int start = ownSize;
    const QFontMetricsF own(font);
    const double advance = own.horizontalAdvance(sample);
    const double capHeight = own.capHeight();
    if (advance > 0 && capHeight > 0) {
        const double scale = std::min(width / advance, height / capHeight);
        if (scale < 1 && ownSize > 6) start = std::clamp(static_cast<int>(ownSize * scale) + 3, 6, ownSize);
    }
    for (int size = start; size > 5; --size) {
        font.setPixelSize(size);
        const QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(sample) <= width && metrics.capHeight() <= height) break;
    }
    return font;
}

}  // namespace

DialGauge::DialGauge(const GaugeLook& look, AnimationClock& clock, double initialValue, QWidget* parent)
    : QWidget(parent),
      look_(look),
      capHighlight_(look.capInner.lighter(104)),
      clock_(clock),
      glide_(initialValue)
{
    paintedAngleKey_ = shownAngleKey_ = drawnAngleKey(glide_.position());
}

void DialGauge::setValue(double value)
{
    if (!(value >= look_.minimum && value <= look_.maximum)) return;
    if (value == glide_.target()) return;
    glide_.setTarget(value);
    renderReadout();
    update(readoutBox_.toAlignedRect());
    if (glide_.moving()) clock_.wake(this, this);
}

QString DialGauge::formatReadout(double value)
{
    return QString::fromStdString(gauge::formatReadout(value));
}

QString DialGauge::readoutText() const
{
    return formatReadout(glide_.target());
}

bool DialGauge::advance()
{
    const bool moving = glide_.step();
    const int key = drawnAngleKey(glide_.position());
    if (key != paintedAngleKey_) {
        paintedAngleKey_ = key;
        clock_.changed(this, this);
    }
    return moving;
}

void DialGauge::reportChanges()
{
    if (paintedAngleKey_ == shownAngleKey_) return;
    // Only where the needle stood when last reported and where it stands
    // now. Where both boxes lie on the opaque dial, a frame draws just the
    // gauge there.
    const QRect before = needleBounds(shownAngleKey_);
    const QRect after = needleBounds(paintedAngleKey_);
    shownAngleKey_ = paintedAngleKey_;
    if (onFace(before) && onFace(after)) {
        clock_.repaintLater(this, this, before);
        clock_.repaintLater(this, this, after);
    } else {
        clock_.repaintLater(this, before.united(after));
    }
}

int DialGauge::stepsUntilVisibleChange(int limit, int pixels) const
{
    const double tipRadius = kNeedleLength * needleShape(paintedAngleKey_).faceRadius;
    return stepsUntilDrawnChange(glide_, paintedAngleKey_, limit,
                                 gauge::needleTurnForTipTravel(pixels, tipRadius) * kAngleSteps,
                                 [this](double value) { return drawnAngleKey(value); });
}

double DialGauge::angleForValue(double value) const
{
    const double share = (value - look_.minimum) / (look_.maximum - look_.minimum);
    return kStartAngleDeg - kSweepDeg * share;
}

int DialGauge::drawnAngleKey(double value) const
{
    return static_cast<int>(std::lrint(angleForValue(value) * kAngleSteps));
}

void DialGauge::resizeEvent(QResizeEvent*)
{
    renderDial();
    renderReadout();
}

void DialGauge::renderDial()
{
    const qreal ratio = devicePixelRatioF();
    dial_ = QPixmap(size() * ratio);
    dial_.setDevicePixelRatio(ratio);
    dial_.fill(Qt::transparent);
    QPainter painter(&dial_);
    painter.setRenderHint(QPainter::Antialiasing);

    const double side = std::min(QWidget::width(), height());
    const double radius = side / 2.0;
    const QPointF centre = QRectF(rect()).center();
    const double ringWidth = std::max(1.0, look_.outerCircleWidth * side);
    auto disc = [&](double r) { return QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r); };

    // Light outer circle, dark rim, then the glassy face lit from the top left.
    painter.setPen(Qt::NoPen);
    painter.setBrush(look_.outerCircle);
    painter.drawEllipse(disc(radius));
    painter.setBrush(look_.marks);
    painter.drawEllipse(disc(radius - ringWidth));
    const double faceRadius = radius - ringWidth - look_.outerRimWidth;
    QRadialGradient face(centre + QPointF(-0.35 * faceRadius, -0.45 * faceRadius), 1.45 * faceRadius);
    face.setColorAt(0.0, look_.arc);
    face.setColorAt(0.55, look_.innerCircle);
    face.setColorAt(1.0, look_.innerCircle.darker(118));
    painter.setBrush(face);
    painter.drawEllipse(disc(faceRadius));

    // The threshold band: a ring sector under the arc.
    const double arcRadius = kArcRadius * faceRadius;
    const double arcWidth = std::max(1.0, look_.arcWidth * side);
    const double bandFrom = angleForValue(look_.thresholdFrom);
    const double bandTo = angleForValue(look_.thresholdTo);
    QPainterPath band;
    band.arcMoveTo(disc(arcRadius), bandFrom);
    band.arcTo(disc(arcRadius), bandFrom, bandTo - bandFrom);
    band.arcTo(disc(kBandInner * faceRadius), bandTo, bandFrom - bandTo);
    band.closeSubpath();
    painter.setBrush(look_.thresholdBand.darker(112));
    painter.drawPath(band);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(look_.arc, arcWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(disc(arcRadius), static_cast<int>(kStartAngleDeg * 16),
                    static_cast<int>(-kSweepDeg * 16));

    // Division and subdivision marks, pointing inwards from the arc.
    const int steps = look_.divisions * look_.subdivisions;
    for (int step = 0; step <= steps; ++step) {
        const bool division = step % look_.subdivisions == 0;
        const double angle = kStartAngleDeg - kSweepDeg * step / steps;
        const double length = division ? look_.divisionMarkWidth : look_.subdivisionMarkWidth;
        painter.setPen(QPen(look_.marks, division ? 1.3 : 1.0, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(polar(centre, arcRadius + arcWidth / 2, angle),
                         polar(centre, arcRadius + arcWidth / 2 - length - arcWidth, angle));
    }

    // Numbers at both ends and the middle of the scale, as large as fits.
    const QFont numberFont =
        fitted(look_.scaleFont, QStringLiteral("100"), 0.42 * faceRadius, 0.22 * faceRadius);
    painter.setFont(numberFont);
    painter.setPen(look_.marks);
    const double numberRadius = arcRadius - look_.divisionMarkWidth - arcWidth - 0.14 * faceRadius;
    for (const double value : {look_.minimum, (look_.minimum + look_.maximum) / 2, look_.maximum}) {
        const QString text = QString::number(value, 'f', 0);
        const QPointF at = polar(centre, numberRadius, angleForValue(value));
        const QRectF box(at.x() - faceRadius / 2, at.y() - faceRadius / 4, faceRadius, faceRadius / 2);
        painter.drawText(box, Qt::AlignCenter, text);
    }

    const double boxWidth = 0.60 * side;
    const double boxHeight = std::max(9.0, 0.19 * side);
    readoutBox_ = QRectF(centre.x() - boxWidth / 2, centre.y() + 0.52 * faceRadius, boxWidth, boxHeight);
    readoutFrame_ = QPixmap();  // drawn again for the new box
    // Fitted once for the box, not for each new value.
    readoutFont_ = fitted(look_.valueFont, QStringLiteral("000.00"), boxWidth - 4, boxHeight - 4);
}

void DialGauge::renderReadout()
{
    if (readoutBox_.isEmpty()) return;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (readoutBox_.size() + QSizeF(1, 1)).toSize() * ratio;
    const QRectF box(0.5, 0.5, readoutBox_.width() - 1, readoutBox_.height() - 1);
    // The rounded box, antialiased, is drawn once; each value copies it and
    // draws only its text.
    if (readoutFrame_.size() != pixels || readoutFrame_.devicePixelRatio() != ratio) {
        readoutFrame_ = QPixmap(pixels);
        readoutFrame_.setDevicePixelRatio(ratio);
        readoutFrame_.fill(Qt::transparent);
        QPainter painter(&readoutFrame_);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(look_.marks, 1.0));
        painter.setBrush(look_.readoutBox);
        painter.drawRoundedRect(box, 2, 2);
    }
    if (readout_.size() != pixels || readout_.devicePixelRatio() != ratio) {
        readout_ = QPixmap(pixels);
        readout_.setDevicePixelRatio(ratio);
        readout_.fill(Qt::transparent);  // with an alpha channel, as the box has corners
    }
    QPainter painter(&readout_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(0, 0, readoutFrame_);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(readoutFont_);
    painter.setPen(look_.readoutDigits);
    painter.drawText(box, Qt::AlignCenter, readoutText());
}

DialGauge::NeedleShape DialGauge::needleShape(int angleKey) const
{
    NeedleShape shape;
    shape.faceRadius = std::min(QWidget::width(), height()) / 2.0 - 4;
    shape.centre = QRectF(rect()).center();
    const double angle = static_cast<double>(angleKey) / kAngleSteps;
    shape.tip = polar(shape.centre, kNeedleLength * shape.faceRadius, angle);
    shape.tail = polar(shape.centre, 0.20 * shape.faceRadius, angle + 180);
    shape.left = polar(shape.centre, 0.11 * shape.faceRadius, angle + 90);
    shape.right = polar(shape.centre, 0.11 * shape.faceRadius, angle - 90);
    return shape;
}

QRect DialGauge::needleBounds(int angleKey) const
{
    const NeedleShape shape = needleShape(angleKey);
    const double capRadius = 0.17 * shape.faceRadius;
    const QRectF cap(shape.centre - QPointF(capRadius, capRadius), QSizeF(2 * capRadius, 2 * capRadius));
    // The outline's width and the antialiasing reach a pixel beyond the
    // polygon; two more keep rounding out of the question.
    return QPolygonF({shape.tip, shape.left, shape.tail, shape.right})
        .boundingRect()
        .united(cap)
        .toAlignedRect()
        .adjusted(-3, -3, 3, 3);
}

void DialGauge::paintNeedle(QPainter& painter) const
{
    const NeedleShape s = needleShape(paintedAngleKey_);

    // Two halves, one in the shine colour, give the needle a ridge. The
    // points from arrays, not polygons: drawn on every frame of a glide.
    const QPointF leftHalf[] = {s.tip, s.left, s.tail};
    const QPointF rightHalf[] = {s.tip, s.right, s.tail};
    const QPointF outline[] = {s.tip, s.left, s.tail, s.right};
    painter.setPen(Qt::NoPen);
    painter.setBrush(look_.needle);
    painter.drawPolygon(leftHalf, 3);
    painter.setBrush(look_.needleShine);
    painter.drawPolygon(rightHalf, 3);
    // A dark outline sets the light needle off against the light face.
    painter.setPen(QPen(look_.marks, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(outline, 4);

    const double capRadius = 0.17 * s.faceRadius;
    painter.setPen(QPen(look_.marks, 0.8));
    painter.setBrush(look_.capOuter);
    painter.drawEllipse(s.centre, capRadius, capRadius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(capHighlight_);
    painter.drawEllipse(s.centre, capRadius * 0.55, capRadius * 0.55);
}

bool DialGauge::onFace(const QRect& box) const
{
    // The outer circle is opaque up to its antialiased edge, a pixel wide.
    const QPointF centre = QRectF(rect()).center();
    const double radius = std::min(QWidget::width(), height()) / 2.0 - 1.5;
    for (const QPointF corner :
         {QPointF(box.left(), box.top()), QPointF(box.left(), box.bottom() + 1),
          QPointF(box.right() + 1, box.top()), QPointF(box.right() + 1, box.bottom() + 1)}) {
        if (std::hypot(corner.x() - centre.x(), corner.y() - centre.y()) > radius) return false;
    }
    return true;
}

void DialGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    draw(painter);
}

void DialGauge::draw(QPainter& painter)
{
    // A widget that was never shown may not have had its resize event yet.
    if (dial_.deviceIndependentSize() != QSizeF(size())) {
        renderDial();
        renderReadout();
    }
    painter.drawPixmap(0, 0, dial_);
    painter.drawPixmap(readoutBox_.topLeft(), readout_);
    painter.setRenderHint(QPainter::Antialiasing);
    paintNeedle(painter);
}

}  // namespace pelmora
