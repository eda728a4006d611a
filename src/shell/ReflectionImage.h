#pragma once
// A section picture with a mirrored reflection fading out below it.
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/ReflectionRows.h"
#include "shell/KeptParts.h"

namespace pelmora {

// The picture flipped upside down with every row's alpha multiplied by its
// opacity / 255; colour channels kept (non-premultiplied ARGB32).
QImage fadedReflection(const QImage& picture, int reflectionSize);

class ReflectionImage : public QWidget {
public:
    static constexpr int kStartOpacity = kReflectionStartOpacity;
    static constexpr int kEndOpacity = kReflectionEndOpacity;

    // Sizes itself to the picture's width and its height + reflectionSize.
    // The reflection is stretched into a band as high as the picture plus
    // reflectionAxis (a negative axis squeezes it) and cut at the bottom.
    ReflectionImage(const QImage& picture, int reflectionSize, int reflectionAxis, QWidget* parent = nullptr);

    // As the body picture's (PictureBox::keepOnlyUnder): once on an unscaled
    // screen, only the parts under `repaintedAbove` are kept of the drawn
    // picture and reflection; a paint beyond them draws them again from
    // `reload`'s picture.
    void keepOnlyUnder(std::function<QRegion()> repaintedAbove, std::function<QImage()> reload);
    // Whether the whole drawing is held (for the tests).
    bool holdsWholePicture() const { return !rendered_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawPictureAndReflection(const QImage& picture);
    void letGoButKeptParts();

    int reflectionSize_;
    int reflectionAxis_;
    QPixmap rendered_;  // picture and reflection
    std::function<QRegion()> repaintedAbove_;
    std::function<QImage()> reload_;
    KeptParts kept_;
};

}  // namespace pelmora
