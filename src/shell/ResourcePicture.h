#pragma once
// The pictures embedded in the program, by their resource alias
// (resources/resources.qrc): "MAINFORM", "body.jpg", "icon-cpu.png" ...
#include <QImage>
#include <QString>

namespace pelmora {

// Makes the embedded pictures reachable under ":/". They live in a static
// library, whose resource initialiser the linker would otherwise drop; call
// this before using a ":/" path directly (QIcon(":/tray.ico") ...).
void ensureResourcesLoaded();

// The picture decoded with decodePng or decodeJpeg (chosen by its signature)
// as a non-premultiplied QImage::Format_ARGB32; a null image when the alias
// is missing or the picture does not decode.
QImage loadResourcePicture(const QString& alias);

}  // namespace pelmora
