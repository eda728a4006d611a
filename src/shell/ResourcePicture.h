#pragma once
// The pictures embedded in the program, by their resource alias
// (resources/resources.qrc): "MAINFORM", "body.jpg", "icon-cpu.png" ...
// Each comes drawn twice: at its size, and at twice its size under the
// alias with "@2x" before the extension ("MAINFORM@2x", "body@2x.jpg").
#include <QIcon>
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
//
// On a screen of more than one device pixel per pixel the picture drawn at
// twice the size is taken instead, with a device pixel ratio of 2: its
// deviceIndependentSize() is the size of the other, and it is scaled only
// down, never up. Only the picture taken is decoded. Where the larger one
// is missing or does not decode, the other is taken.
QImage loadResourcePicture(const QString& alias, qreal devicePixelRatio = 1.0);

// "MAINFORM" -> "MAINFORM@2x", "body.jpg" -> "body@2x.jpg".
QString doubleSizeAlias(const QString& alias);

// The notification-area icon: the pictures of "tray.ico" (16 to 48 pixels)
// and, on a screen of more than one device pixel per pixel, those of 64 and
// 96, so that a notification area of any scale finds its size or a larger one.
QIcon trayIconPictures(qreal devicePixelRatio);

}  // namespace pelmora
