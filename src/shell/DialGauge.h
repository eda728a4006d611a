#pragma once
// The load gauge: a round dial with a scale arc, division marks, a needle that
// glides to a new value and a digital read-out. Values outside 0..100 are
// ignored. The dial and the read-out are drawn into cached pixmaps; a step of
// the glide repaints only when the needle's drawn angle changes.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QWidget>

#include "core/BarGlide.h"
#include "core/Controls.h"
#include "shell/AnimationClock.h"

namespace pelmora {

struct GaugeLook {
    double minimum = 0;
    double maximum = 100;
    int divisions = 10;
    int subdivisions = 3;
    int divisionMarkWidth = 5;  // length of a division mark, pixels
    int subdivisionMarkWidth = 2;
    QColor marks{0, 45, 150};
    QColor outerCircle{175, 210, 255};
    double outerCircleWidth = 0.03;  // share of the dial's size
    QColor innerCircle{175, 210, 255};
    int outerRimWidth = 2;
    QColor arc{227, 239, 255};
    double arcWidth = 0.03;  // share of the dial's size
    QColor thresholdBand{175, 210, 255};
    double thresholdFrom = 25;  // the band runs from this value ...
    double thresholdTo = 100;   // ... to this one
    QColor needle{175, 210, 255};
    QColor needleShine{227, 239, 255};
    QColor capOuter{173, 209, 255};
    QColor capInner{175, 210, 255};
    QColor readoutDigits{0, 45, 150};
    QColor readoutBox{227, 239, 255};
    QFont scaleFont;  // pixel sizes are upper bounds: the text shrinks to fit
    QFont valueFont;
};

class DialGauge : public QWidget, public Gauge, private Animated, private FramePainter {
    Q_OBJECT
public:
    // The needle starts at `initialValue` (50 in the layout).
    DialGauge(const GaugeLook& look, AnimationClock& clock, double initialValue, QWidget* parent = nullptr);

    // Gauge: a value inside the range moves the needle there; any other
    // value (NaN included) is ignored.
    void setValue(double value) override;
    double value() const override { return glide_.target(); }

    // Where the needle stands now, on its way to value().
    double shownValue() const
    {
        clock_.catchUp();
        return glide_.position();
    }
    QString readoutText() const;

    static QString formatReadout(double value);  // "000.00"

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool advance() override;
    int stepsUntilVisibleChange(int limit, int pixels) const override;
    void reportChanges() override;
    void paintFrame(QPainter& painter) override { draw(painter); }
    void draw(QPainter& painter);
    bool onFace(const QRect& box) const;       // inside the opaque dial
    double angleForValue(double value) const;  // degrees, counter-clockwise from 3 o'clock
    int drawnAngleKey(double value) const;
    void renderDial();
    void renderReadout();
    struct NeedleShape {
        double faceRadius;
        QPointF centre, tip, tail, left, right;
    };
    NeedleShape needleShape(int angleKey) const;
    QRect needleBounds(int angleKey) const;  // every pixel the needle may touch
    void paintNeedle(QPainter& painter) const;

    GaugeLook look_;
    QColor capHighlight_;  // the cap's inner disc
    AnimationClock& clock_;
    BarGlide glide_;           // the needle glides like a bar, on the same clock
    int paintedAngleKey_ = 0;  // as the last step left it
    int shownAngleKey_ = 0;    // as the last report of changes left it
    QPixmap dial_;
    QPixmap readout_;
    QPixmap readoutFrame_;  // the readout's box without its text
    QRectF readoutBox_;
    QFont readoutFont_;
};

}  // namespace pelmora
