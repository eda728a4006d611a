#include "shell/ResourcePicture.h"

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QByteArray>
#include <QPixmap>
#include <QResource>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "shell/PictureDecoder.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void initEmbeddedResources()
{
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(resources_occasional);
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

std::atomic<PicturesDecodedAhead*> decodedAhead{nullptr};

// The embedded pictures decoded so far, where their bytes lie in the
// program's read-only data (see releaseDecodedPictureBytes).
struct DecodedBytes {
    std::mutex mutex;
    std::vector<std::pair<uintptr_t, size_t>> ranges;
};
DecodedBytes& decodedBytes()
{
    static DecodedBytes bytes;
    return bytes;
}

void noteDecodedBytes(const uint8_t* data, size_t size)
{
    static const void* const programBase = [] {
        Dl_info program{};
        return dladdr(reinterpret_cast<const void*>(&noteDecodedBytes), &program) ? program.dli_fbase
                                                                                  : nullptr;
    }();
    Dl_info picture{};
    if (!programBase || dladdr(data, &picture) == 0 || picture.dli_fbase != programBase) {
        return;  // not the program's own data (a resource registered from memory)
    }
    DecodedBytes& bytes = decodedBytes();
    const std::lock_guard lock(bytes.mutex);
    bytes.ranges.emplace_back(reinterpret_cast<uintptr_t>(data), size);
}

QImage decodeResourcePicture(const QString& alias, qreal devicePixelRatio);

}  // namespace

void ensureResourcesLoaded()
{
    static const bool loaded = (initEmbeddedResources(), true);
    (void)loaded;
}

void releaseDecodedPictureBytes()
{
    const auto pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    DecodedBytes& bytes = decodedBytes();
    const std::lock_guard lock(bytes.mutex);
    for (const auto& [data, size] : bytes.ranges) {
        const uintptr_t begin = (data + pageSize - 1) & ~(pageSize - 1);
        const uintptr_t end = (data + size) & ~(pageSize - 1);
        if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
    }
    bytes.ranges.clear();
}

QString doubleSizeAlias(const QString& alias)
{
    const qsizetype dot = alias.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return alias + QStringLiteral("@2x");
    return alias.left(dot) + QStringLiteral("@2x") + alias.mid(dot);
}

QImage loadResourcePicture(const QString& alias, qreal devicePixelRatio)
{
    if (PicturesDecodedAhead* ahead = decodedAhead.load()) {
        if (std::optional<QImage> picture = ahead->take(alias, devicePixelRatio)) return std::move(*picture);
    }
    return decodeResourcePicture(alias, devicePixelRatio);
}

namespace {

QImage decodeResourcePicture(const QString& alias, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0 && !alias.isEmpty()) {
        QImage larger = decodeResourcePicture(doubleSizeAlias(alias), 1.0);
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
    if (unpacked.isNull()) noteDecodedBytes(data, size);
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

}  // namespace

PicturesDecodedAhead::PicturesDecodedAhead(const QStringList& aliases, qreal devicePixelRatio)
    : doubleSize_(devicePixelRatio > 1.0)
{
    ensureResourcesLoaded();
    for (const QString& alias : aliases) entries_.push_back({alias, false, false, {}});
    thread_ = std::thread([this] { decodeAll(); });
    decodedAhead.store(this);
}

PicturesDecodedAhead::~PicturesDecodedAhead()
{
    decodedAhead.store(nullptr);
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    thread_.join();
}

void PicturesDecodedAhead::decodeAll()
{
    for (Entry& entry : entries_) {
        {
            const std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        QImage picture = decodeResourcePicture(entry.alias, doubleSize_ ? 2.0 : 1.0);
        {
            const std::lock_guard lock(mutex_);
            entry.picture = std::move(picture);
            entry.decoded = true;
        }
        decoded_.notify_all();
    }
}

std::optional<QImage> PicturesDecodedAhead::take(const QString& alias, qreal devicePixelRatio)
{
    // Only the choice between the two sizes depends on the ratio.
    if ((devicePixelRatio > 1.0) != doubleSize_) return std::nullopt;
    std::unique_lock lock(mutex_);
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& e) { return e.alias == alias && !e.taken; });
    if (entry == entries_.end()) return std::nullopt;
    decoded_.wait(lock, [&] { return entry->decoded; });
    entry->taken = true;
    return std::move(entry->picture);
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
