#pragma once
// A progress bar of the widget: solid background with a grey border, and a
// progress fill that is a vertical gradient with its own border. Positions
// glide (BarGlide) on the shared animation clock; the bar repaints only when
// the filled width in pixels changes.
#include <QColor>
#include <QPixmap>
#include <QWidget>

#include "core/BarDrawing.h"
#include "core/BarGlide.h"
#include "core/Controls.h"
#include "shell/AnimationClock.h"

namespace pelmora {

struct BarColours {
    QColor background;
    QColor fillTop;
    QColor fillBottom;
    QColor fillBorder;
};

class GlideBar : public QWidget, public Bar, private Animated, private FramePainter {
    Q_OBJECT
public:
    static QColor borderColour() { return {kBarBorder.red, kBarBorder.green, kBarBorder.blue}; }

    GlideBar(const BarColours& colours, AnimationClock& clock, QWidget* parent = nullptr);

    // Bar: what the readings do with it.
    void setPosition(double position) override;
    double position() const override
    {
        clock_.catchUp();
        return glide_.position();
    }
    void setVisible(bool visible) override;
    bool isVisible() const override;
    int left() const override { return x(); }
    void setLeft(int left) override;
    int width() const override { return QWidget::width(); }
    void setWidth(int width) override;

    double targetPosition() const { return glide_.target(); }
    // Width in pixels of the progress fill as now drawn (0 = empty).
    int filledWidth() const { return filledWidthFor(glide_.position()); }

signals:
    void shapeChanged();  // shown, hidden, moved or resized

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool advance() override;
    int stepsUntilVisibleChange(int limit, int pixels) const override;
    void reportChanges() override;
    void paintFrame(QPainter& painter) override { draw(painter); }
    void draw(QPainter& painter) const;
    int filledWidthFor(double position) const;
    void renderFill();

    BarColours colours_;
    AnimationClock& clock_;
    BarGlide glide_;
    int paintedFill_ = 0;  // as the last step left it
    int shownFill_ = 0;    // as the last report of changes left it
    QPixmap fill_;         // the progress gradient at full width, drawn once per size
};

}  // namespace pelmora
