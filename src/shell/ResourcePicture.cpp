#include "shell/ResourcePicture.h"

#include <QByteArray>
#include <QFile>
#include <cstring>

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

QImage loadResourcePicture(const QString& alias)
{
    ensureResourcesLoaded();
    QFile file(QStringLiteral(":/") + alias);
    if (alias.isEmpty() || !file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const auto size = static_cast<size_t>(bytes.size());

    Image32 decoded;
    const bool ok = isPng(bytes)    ? decodePng(data, size, decoded)
                    : isJpeg(bytes) ? decodeJpeg(data, size, decoded)
                                    : false;
    if (!ok) return {};

    // Format_ARGB32 stores each pixel as one 0xAARRGGBB word, as Image32 does.
    QImage image(decoded.width, decoded.height, QImage::Format_ARGB32);
    if (image.isNull()) return {};
    for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(image.scanLine(y), decoded.pixels.data() + size_t(y) * decoded.width,
                    size_t(decoded.width) * sizeof(uint32_t));
    }
    return image;
}

}  // namespace pelmora
