#include "shell/FontSubstitutions.h"

#include <QStringList>

namespace pelmora {

void installFontSubstitutions()
{
    // Qt skips names already in a list, so repeated calls change nothing.
    QFont::insertSubstitutions(QStringLiteral("Myriad Pro"),
                               {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

namespace {

// Open Sans runs about a tenth wider than the face the layout was measured
// with; narrowed to 90 % its texts take the widths of the layout's boxes.
constexpr int kMyriadStretchPercent = 90;

}  // namespace

QFont layoutFont(const QString& family, int pixelSize, unsigned styles)
{
    QFont font(family);
    if (family == QLatin1String("Myriad Pro")) font.setStretch(kMyriadStretchPercent);
    font.setPixelSize(pixelSize);
    font.setBold(styles & Bold);
    font.setItalic(styles & Italic);
    font.setUnderline(styles & Underlined);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont layoutFont(const layout::FontDesign& font)
{
    return layoutFont(QString::fromLatin1(font.family), font.pixelSize, font.styles);
}

}  // namespace pelmora
