#pragma once
// The plain shapes of the body: the panels' rounded frames and the footer's
// rule. Each draws once into a cached pixmap.
#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <algorithm>

namespace pelmora {

// A white one-pixel outline over the whole box, no fill; the corner ellipse
// is a quarter of the smaller side wide and high.
class RoundedFrame : public QWidget {
public:
    explicit RoundedFrame(QWidget* parent = nullptr);
    static QColor outlineColour() { return {255, 255, 255}; }
    int cornerDiameter() const { return std::min(width(), height()) / 4; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap rendered_;
};

// A rectangle filled with one colour, no outline.
class FilledRule : public QWidget {
public:
    explicit FilledRule(const QColor& colour, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

}  // namespace pelmora
