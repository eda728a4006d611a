#pragma once
// A text label of the widget: transparent background, white text, top of the
// box. A fixed box keeps its size and clips; any other label sizes itself to
// its text (a right-aligned one keeps its right edge, as it grows leftwards).
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include "core/Controls.h"
#include "core/TextStyle.h"

namespace pelmora {

struct LabelLook {
    QFont font;
    TextAlignment alignment = TextAlignment::Left;
    bool fixedBox = false;
};

class QtLabel : public QWidget, public Label {
    Q_OBJECT
public:
    QtLabel(const QString& text, const QRect& designGeometry, const LabelLook& look,
            QWidget* parent = nullptr);

    // Label: what the readings write.
    void setText(const std::string& text) override;
    std::string text() const override;
    void setVisible(bool visible) override;
    bool isVisible() const override;

    void setText(const QString& text);
    QString qtext() const { return text_; }
    const LabelLook& look() const { return look_; }

    static QColor textColour() { return {255, 255, 255}; }

signals:
    // The label's pixels changed shape (text or visibility), so a mask cut
    // from the drawn window is out of date.
    void shapeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitToText();
    void renderText();

    QString text_;
    LabelLook look_;
    QPixmap rendered_;  // the text on transparency; null until painted after a change
};

}  // namespace pelmora
