#pragma once
// The settings dialog's look: pixel fonts (the dialog is never scaled), the
// glassy blue colours, and the two painted containers it is built from.
#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QString>
#include <QWidget>

namespace pelmora::look {

// 8 point at 96 pixels per inch is 11 pixels.
inline constexpr int kSmallFontPixels = 11;

QFont dialogFont();                      // Verdana
QFont sectionCaptionFont();              // Verdana, bold
QFont controlFont(bool italic = false);  // Tahoma: labels, tree and list
QFont titleFont();                       // the title bar's caption

inline const QColor kBodyColor{216, 229, 250};
inline const QColor kGradientTop{97, 142, 199};
inline const QColor kGradientBottom{222, 232, 243};
inline const QColor kCaptionText{22, 50, 96};

// Flat push buttons drawn as small glass bars.
QString pushButtonStyle();

}  // namespace pelmora::look

namespace pelmora {

// A raised bevel around a faintly lit glass area; the gradient shows through.
class RaisedPanel : public QWidget {
public:
    explicit RaisedPanel(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A group box with a rounded glass frame whose bold caption interrupts the
// top edge. Children keep their positions relative to the box's top-left.
class SectionBox : public QGroupBox {
public:
    SectionBox(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace pelmora
