#pragma once
// The widget's fonts were chosen on another desktop; this maps each family the
// layout names to a free one that is installed with the program.
#include <QFont>
#include <QString>

#include "core/LayoutTable.h"
#include "core/TextStyle.h"

namespace pelmora {

// Safe to call more than once; the widget layout calls it itself.
void installFontSubstitutions();

// A font of `pixelSize` pixels, so text does not grow with the screen's
// pixels per inch.
QFont layoutFont(const QString& family, int pixelSize, unsigned styles = Regular);
QFont layoutFont(const layout::FontDesign& font);

}  // namespace pelmora
