#pragma once
// The settings dialog's look: pixel fonts (the dialog is never scaled), the
// glassy blue colours, and the two painted containers it is built from.
#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QString>
#include <QWidget>

#include "core/SettingsFormTable.h"

namespace pelmora::look {

inline constexpr int kSmallFontPixels = settingsform::kSmallFontPixels;

QFont dialogFont();                      // Verdana
QFont sectionCaptionFont();              // Verdana, bold
QFont controlFont(bool italic = false);  // Tahoma: labels, tree and list
QFont titleFont();                       // the title bar's caption

inline QColor colour(settingsform::Rgb rgb)
{
    return {rgb.red, rgb.green, rgb.blue};
}
inline const QColor kBodyColor = colour(settingsform::kBodyColour);
inline const QColor kGradientTop = colour(settingsform::kGradientTop);
inline const QColor kGradientBottom = colour(settingsform::kGradientBottom);
inline const QColor kCaptionText = colour(settingsform::kCaptionText);

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
