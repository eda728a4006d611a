#pragma once
// The pictures embedded in the program, by their resource alias
// (resources/resources.qrc): "MAINFORM", "body.jpg", "icon-cpu.png" ...
// Each comes drawn twice: at its size, and at twice its size under the
// alias with "@2x" before the extension ("MAINFORM@2x", "body@2x.jpg").
#include <QIcon>
#include <QImage>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

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

// Decodes the pictures named, in the order given, on a thread of its own
// while the caller goes on (start-up has Qt's fonts to load and the widget
// to build meanwhile, and the machine a second processor). While it lives,
// loadResourcePicture takes a picture from it instead of decoding the
// picture again, waiting for it if need be. Each is handed over once; what
// nobody took goes with it. One at a time.
class PicturesDecodedAhead {
public:
    PicturesDecodedAhead(const QStringList& aliases, qreal devicePixelRatio);
    ~PicturesDecodedAhead();
    PicturesDecodedAhead(const PicturesDecodedAhead&) = delete;
    PicturesDecodedAhead& operator=(const PicturesDecodedAhead&) = delete;

    // The picture loadResourcePicture(alias, devicePixelRatio) gives, when it
    // is one of these and not handed over yet; nothing otherwise.
    std::optional<QImage> take(const QString& alias, qreal devicePixelRatio);

private:
    struct Entry {
        QString alias;
        bool decoded = false;
        bool taken = false;
        QImage picture;
    };
    void decodeAll();

    const bool doubleSize_;
    std::vector<Entry> entries_;  // their number and names fixed from the start
    std::mutex mutex_;
    std::condition_variable decoded_;
    bool stopping_ = false;
    std::thread thread_;
};

// Lets go of the pages of the program's read-only data that hold the
// embedded pictures decoded so far: the widget decodes each once at start,
// and a later decoding reads them from the program file again. Nothing is
// lost, as those pages are never written; only whole pages that hold
// nothing but picture bytes are let go.
void releaseDecodedPictureBytes();

// "MAINFORM" -> "MAINFORM@2x", "body.jpg" -> "body@2x.jpg".
QString doubleSizeAlias(const QString& alias);

// The notification-area icon: the pictures of "tray.ico" (16 to 48 pixels)
// and, on a screen of more than one device pixel per pixel, those of 64 and
// 96, so that a notification area of any scale finds its size or a larger one.
QIcon trayIconPictures(qreal devicePixelRatio);

}  // namespace pelmora
