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

class ReflectionImage : public QWidget {
public:
    // Sizes itself to the picture's width and its height + reflectionSize.
    ReflectionImage(const QImage& picture, int reflectionSize, int reflectionAxis,
                    QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap rendered_;  // picture and reflection, drawn once
};

}  // namespace pelmora
