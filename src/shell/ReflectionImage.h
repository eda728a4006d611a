#pragma once
// A section picture with a mirrored reflection fading out below it.
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <vector>

namespace pelmora {

// Opacity (0..255) of each row of the flipped picture, row 0 at the
// picture's bottom edge: (n - i) / n * 128 rounded, 0 from row n on.
std::vector<int> reflectionOpacityRows(int reflectionSize, int rowCount);

// The picture flipped upside down with every row's alpha multiplied by its
// opacity / 255; colour channels kept (non-premultiplied ARGB32).
QImage fadedReflection(const QImage& picture, int reflectionSize);

class ReflectionImage : public QWidget {
public:
    static constexpr int kStartOpacity = 128;
    static constexpr int kEndOpacity = 0;

    // Sizes itself to the picture's width and its height + reflectionSize.
    // The reflection is stretched into a band as high as the picture plus
    // reflectionAxis (a negative axis squeezes it) and cut at the bottom.
    ReflectionImage(const QImage& picture, int reflectionSize, int reflectionAxis, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap rendered_;  // picture and reflection, drawn once
};

}  // namespace pelmora
