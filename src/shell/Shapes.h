#pragma once
// The plain shapes of the body: the panels' rounded frames and the footer's
// rule.
#include <QColor>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <array>

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
    void render(QSize devicePixels, qreal ratio);

    // Drawn once in device pixels; kept of it are the four corners and a
    // one-pixel slice of each straight side between them (the rest of the
    // box is transparent), a few KiB instead of the whole box.
    std::array<QImage, 4> corners_;  // top left, top right, bottom left, bottom right
    std::array<QImage, 4> sides_;    // top, bottom, left, right
    QImage whole_;                   // instead, where the box is too small to have straight sides
    QSize renderedSize_;
    qreal renderedRatio_ = 0;
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
