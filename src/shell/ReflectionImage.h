#pragma once
// A section picture with a mirrored reflection fading out below it.
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <vector>

#include "core/ReflectionRows.h"

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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap rendered_;  // picture and reflection, drawn once
};

}  // namespace pelmora
