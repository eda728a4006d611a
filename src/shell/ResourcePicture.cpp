#include "shell/ResourcePicture.h"

#include <QByteArray>
#include <QPixmap>
#include <QResource>
#include <algorithm>

#include "shell/PictureDecoder.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void initEmbeddedResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace pelmora {
namespace {

bool isPng(const QByteArray& bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}
bool isJpeg(const QByteArray& bytes)
{
    return bytes.startsWith("\xff\xd8\xff");
}

}  // namespace

void ensureResourcesLoaded()
{
    static const bool loaded = (initEmbeddedResources(), true);
    (void)loaded;
}

QString doubleSizeAlias(const QString& alias)
{
    const qsizetype dot = alias.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return alias + QStringLiteral("@2x");
    return alias.left(dot) + QStringLiteral("@2x") + alias.mid(dot);
}

QImage loadResourcePicture(const QString& alias, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0 && !alias.isEmpty()) {
        QImage larger = loadResourcePicture(doubleSizeAlias(alias));
        if (!larger.isNull()) {
            larger.setDevicePixelRatio(2.0);
            return larger;
        }
    }
    ensureResourcesLoaded();
    if (alias.isEmpty()) return {};
    // An uncompressed resource is read where it lies in the program; only a
    // compressed one is unpacked into a buffer first.
    const QResource resource(QStringLiteral(":/") + alias);
    if (!resource.isValid()) return {};
    QByteArray unpacked;
    const uint8_t* data = resource.data();
    auto size = static_cast<size_t>(resource.size());
    if (resource.compressionAlgorithm() != QResource::NoCompression) {
        unpacked = resource.uncompressedData();
        data = reinterpret_cast<const uint8_t*>(unpacked.constData());
        size = static_cast<size_t>(unpacked.size());
    }
    const QByteArray head(reinterpret_cast<const char*>(data),
                          static_cast<qsizetype>(std::min<size_t>(size, 8)));

    Image32 decoded;
    const bool ok = isPng(head)    ? decodePng(data, size, decoded)
                    : isJpeg(head) ? decodeJpeg(data, size, decoded)
                                   : false;
    if (!ok || decoded.width <= 0 || decoded.height <= 0) return {};

    // Format_ARGB32 stores each pixel as one 0xAARRGGBB word, as Image32
    // does: the image takes the decoded pixels over instead of copying them.
    auto* pixels = new std::vector<uint32_t>(std::move(decoded.pixels));
    return QImage(
        reinterpret_cast<uchar*>(pixels->data()), decoded.width, decoded.height,
        static_cast<qsizetype>(decoded.width) * static_cast<qsizetype>(sizeof(uint32_t)),
        QImage::Format_ARGB32, [](void* owned) { delete static_cast<std::vector<uint32_t>*>(owned); },
        pixels);
}

QIcon trayIconPictures(qreal devicePixelRatio)
{
    ensureResourcesLoaded();
    QIcon icon(QStringLiteral(":/tray.ico"));
    if (devicePixelRatio > 1.0) {
        // Added by their size in device pixels, as the icon files' are.
        for (const char* alias : {"tray-32@2x.png", "tray-48@2x.png"}) {
            const QImage picture = loadResourcePicture(QString::fromLatin1(alias));
            if (!picture.isNull()) icon.addPixmap(QPixmap::fromImage(picture));
        }
    }
    return icon;
}

}  // namespace pelmora
