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
// with. Narrowed to 84 % the longest texts the readings write fit their fixed
// boxes: a labelled drive with its size in GB (at 86 % it ran 2 pixels over).
constexpr int kMyriadStretchPercent = 84;

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
