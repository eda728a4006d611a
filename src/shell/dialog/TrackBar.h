#pragma once
// A horizontal trackbar drawn in the dialog's glass look: a rail, a handle
// pointing down at the tick marks below it, and a tick at every value. Where
// the handle sits and what a click does stay the style's, so the drawing and
// the mouse agree.
#include <QSlider>

namespace pelmora {

class TrackBar : public QSlider {
public:
    explicit TrackBar(QWidget* parent = nullptr);

    // The x coordinate of the handle's centre at `value`.
    int handleCentreAt(int value) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace pelmora
