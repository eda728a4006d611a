// The shipped pictures, read through the program's own resources, against
// what the widget relies on: sizes, PNG kinds, the backdrop's alpha, the
// buttons' colour key and the tray icon's images.
#include <QFile>
#include <QImageReader>
#include <QtTest>
#include <cmath>
#include <cstdint>
#include <set>

#include "shell/PictureDecoder.h"
#include "shell/ResourcePicture.h"

using namespace pelmora;

namespace {

constexpr int kFrameWidth = 587;
constexpr int kFrameHeight = 352;
constexpr int kFrameAlpha = 216;
const QRect kBody(18, 63, 559, 276);
constexpr uint32_t kMagenta = 0xffff00ff;

QByteArray resourceBytes(const QString& alias)
{
    ensureResourcesLoaded();
    QFile file(":/" + alias);
    if (!file.open(QIODevice::ReadOnly)) qFatal("resource %s missing", qPrintable(alias));
    return file.readAll();
}

struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
};

uint32_t bigEndian32(const QByteArray& bytes, int at)
{
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData()) + at;
    return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

uint32_t littleEndian(const QByteArray& bytes, int at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + i]);
    return value;
}

PngHeader pngHeader(const QByteArray& png)
{
    if (!png.startsWith("\x89PNG\r\n\x1a\n") || png.mid(12, 4) != "IHDR") return {};
    return {bigEndian32(png, 16), bigEndian32(png, 20), uint8_t(png[24]), uint8_t(png[25]), uint8_t(png[28])};
}

Image32 decodedPng(const QString& alias)
{
    const QByteArray bytes = resourceBytes(alias);
    Image32 image;
    if (!decodePng(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), image)) {
        qFatal("resource %s does not decode", qPrintable(alias));
    }
    return image;
}

int alphaOf(uint32_t pixel)
{
    return int(pixel >> 24);
}
uint32_t at(const Image32& image, int x, int y)
{
    return image.pixels[size_t(y) * image.width + x];
}

double luminance(const Image32& image)
{
    double sum = 0;
    for (uint32_t p : image.pixels)
        sum += 0.3 * (p >> 16 & 0xff) + 0.59 * (p >> 8 & 0xff) + 0.11 * (p & 0xff);
    return sum / double(image.pixels.size());
}

}  // namespace

class ArtworkTest : public QObject {
    Q_OBJECT

private slots:
    void backdropIsAnRgbaPngOfTheWindowSize();
    void backdropAlphaFollowsTheFrame();
    void bodyIsAnOpaqueCopyOfTheBackdrop_data();
    void bodyIsAnOpaqueCopyOfTheBackdrop();
    void picturesHaveTheirSizesAndAlpha_data();
    void picturesHaveTheirSizesAndAlpha();
    void buttonsAreKeyedWithoutFringe_data();
    void buttonsAreKeyedWithoutFringe();
    void trayIconHoldsFourSizesAt32Bits();
    void resourcePicturesLoadAsArgb32();
    void scaledScreensTakeThePictureAtTwiceTheSize();
    void picturesDecodedAheadAreHandedOverOnceForTheirScale();
};

void ArtworkTest::backdropIsAnRgbaPngOfTheWindowSize()
{
    const PngHeader header = pngHeader(resourceBytes("MAINFORM"));
    QCOMPARE(header.width, uint32_t(kFrameWidth));
    QCOMPARE(header.height, uint32_t(kFrameHeight));
    QCOMPARE(header.bitDepth, 8);
    QCOMPARE(header.colourType, 6);
    QCOMPARE(header.interlace, 0);
}

void ArtworkTest::backdropAlphaFollowsTheFrame()
{
    const Image32 frame = decodedPng("MAINFORM");
    QCOMPARE(frame.width, kFrameWidth);
    QCOMPARE(frame.height, kFrameHeight);

    size_t atFrameAlpha = 0;
    for (uint32_t pixel : frame.pixels) {
        QVERIFY2(alphaOf(pixel) <= kFrameAlpha, "no pixel may be more opaque than the frame");
        if (alphaOf(pixel) == 0) QCOMPARE(pixel, 0u);  // transparent pixels are black
        if (alphaOf(pixel) == kFrameAlpha) ++atFrameAlpha;
    }
    QVERIFY2(atFrameAlpha >= frame.pixels.size() * 97 / 100, "alpha 216 over almost all of it");

    for (int y = kBody.top(); y <= kBody.bottom(); ++y) {
        for (int x = kBody.left(); x <= kBody.right(); ++x) QCOMPARE(alphaOf(at(frame, x, y)), kFrameAlpha);
    }
    for (QPoint corner : {QPoint(0, 0), QPoint(kFrameWidth - 1, 0), QPoint(0, kFrameHeight - 1),
                          QPoint(kFrameWidth - 1, kFrameHeight - 1), QPoint(3, 3)}) {
        QCOMPARE(at(frame, corner.x(), corner.y()), 0u);
    }
    // A soft band at the middle of every edge: intermediate alpha that rises
    // towards the inside.
    const struct {
        QPoint edge;
        QPoint inward;
    } edges[] = {{{293, 0}, {0, 1}},
                 {{293, kFrameHeight - 1}, {0, -1}},
                 {{0, 176}, {1, 0}},
                 {{kFrameWidth - 1, 176}, {-1, 0}}};
    for (const auto& e : edges) {
        int previous = -1;
        int intermediate = 0;
        for (int step = 0; step < 8; ++step) {
            const QPoint p = e.edge + e.inward * step;
            const int alpha = alphaOf(at(frame, p.x(), p.y()));
            QVERIFY(alpha >= previous);
            if (alpha > 0 && alpha < kFrameAlpha) ++intermediate;
            previous = alpha;
        }
        QVERIFY(intermediate >= 2);
        QCOMPARE(previous, kFrameAlpha);
    }
}

void ArtworkTest::bodyIsAnOpaqueCopyOfTheBackdrop_data()
{
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << 1;
    QTest::newRow("2x") << 2;
}

void ArtworkTest::bodyIsAnOpaqueCopyOfTheBackdrop()
{
    QFETCH(int, scale);
    const QByteArray jpeg = resourceBytes(scale == 1 ? "body.jpg" : "body@2x.jpg");
    Image32 body;
    QVERIFY(decodeJpeg(reinterpret_cast<const uint8_t*>(jpeg.constData()), size_t(jpeg.size()), body));
    QCOMPARE(body.width, kBody.width() * scale);
    QCOMPARE(body.height, kBody.height() * scale);

    const Image32 frame = decodedPng(scale == 1 ? "MAINFORM" : "MAINFORM@2x");
    double differenceSum = 0;
    int largestDifference = 0;
    for (int y = 0; y < body.height; ++y) {
        for (int x = 0; x < body.width; ++x) {
            const uint32_t b = at(body, x, y);
            const uint32_t f = at(frame, kBody.left() * scale + x, kBody.top() * scale + y);
            QCOMPARE(alphaOf(b), 255);
            for (int shift : {16, 8, 0}) {
                const int difference = std::abs(int(b >> shift & 0xff) - int(f >> shift & 0xff));
                differenceSum += difference;
                largestDifference = std::max(largestDifference, difference);
            }
        }
    }
    QVERIFY2(differenceSum / (body.pixels.size() * 3.0) < 1.5, "the body matches the backdrop");
    QVERIFY(largestDifference <= 24);
}

void ArtworkTest::picturesHaveTheirSizesAndAlpha_data()
{
    QTest::addColumn<QString>("alias");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    const struct {
        const char* alias;
        int width;
        int height;
    } pictures[] = {
        {"icon-cpu.png", 80, 80},        {"icon-disk.png", 64, 64},       {"icon-card.png", 64, 64},
        {"icon-memory.png", 64, 64},     {"icon-network.png", 58, 58},    {"icon-battery.png", 60, 60},
        {"logo-strip.png", 108, 14},     {"dlg-bolt.png", 64, 64},        {"dlg-disk.png", 64, 64},
        {"dlg-globe.png", 58, 58},       {"state-unchecked.png", 16, 16}, {"state-checked.png", 16, 16},
        {"state-radio-off.png", 16, 16}, {"state-radio-on.png", 16, 16},  {"state-document.png", 16, 16},
        {"state-folder.png", 16, 16},    {"drive-disk.png", 32, 32},      {"drive-computer.png", 32, 32},
        {"drive-removable.png", 32, 32}, {"tray-16.png", 16, 16},         {"tray-24.png", 24, 24},
        {"tray-32.png", 32, 32},         {"tray-48.png", 48, 48},
    };
    for (const auto& p : pictures) {
        QTest::newRow(p.alias) << QString(p.alias) << p.width << p.height;
        // Each at twice its size too, but the tray's 16 and 24: at 2x the icon is the 32 and 48 pixel one.
        const QString larger = doubleSizeAlias(QString::fromLatin1(p.alias));
        if (QFile::exists(":/" + larger))
            QTest::newRow(qPrintable(larger)) << larger << 2 * p.width << 2 * p.height;
    }
    QTest::newRow("backdrop at 2x") << "MAINFORM@2x" << 2 * kFrameWidth << 2 * kFrameHeight;
}

void ArtworkTest::picturesHaveTheirSizesAndAlpha()
{
    QFETCH(QString, alias);
    QFETCH(int, width);
    QFETCH(int, height);
    const PngHeader header = pngHeader(resourceBytes(alias));
    QCOMPARE(header.width, uint32_t(width));
    QCOMPARE(header.height, uint32_t(height));
    QCOMPARE(header.bitDepth, 8);
    QCOMPARE(header.colourType, 6);

    // Drawn on a transparent ground, with a solid subject and black clear pixels.
    const Image32 image = decodedPng(alias);
    int clear = 0;
    int solid = 0;
    for (uint32_t pixel : image.pixels) {
        if (alphaOf(pixel) == 0) {
            ++clear;
            QCOMPARE(pixel, 0u);
        }
        if (alphaOf(pixel) >= 250) ++solid;
    }
    QVERIFY(clear > 0);
    QVERIFY(solid > 0 || alias.startsWith("MAINFORM"));  // the backdrop is nowhere opaque
}

void ArtworkTest::buttonsAreKeyedWithoutFringe_data()
{
    QTest::addColumn<QString>("normal");
    QTest::addColumn<QString>("hover");
    QTest::addColumn<int>("scale");
    for (const char* name : {"btn-minimize", "btn-close"}) {
        const QString normal = QString::fromLatin1(name) + ".png";
        const QString hover = QString::fromLatin1(name) + "-hover.png";
        QTest::newRow(name) << normal << hover << 1;
        QTest::newRow(qPrintable(QString::fromLatin1(name) + "@2x"))
            << doubleSizeAlias(normal) << doubleSizeAlias(hover) << 2;
    }
}

void ArtworkTest::buttonsAreKeyedWithoutFringe()
{
    QFETCH(QString, normal);
    QFETCH(QString, hover);
    QFETCH(int, scale);
    const int side = 22 * scale;
    for (const QString& alias : {normal, hover}) {
        const PngHeader header = pngHeader(resourceBytes(alias));
        QCOMPARE(header.width, uint32_t(side));
        QCOMPARE(header.height, uint32_t(side));
        QCOMPARE(header.colourType, 2);  // opaque: the key colour does the cutting

        const Image32 button = decodedPng(alias);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const uint32_t pixel = at(button, x, y);
                const double fromCentre = std::hypot(x + 0.5 - side / 2.0, y + 0.5 - side / 2.0) / scale;
                if (fromCentre > 11.5) QCOMPARE(pixel, kMagenta);  // corners keyed away
                if (fromCentre < 10) QVERIFY(pixel != kMagenta);   // the orb itself
                const int red = pixel >> 16 & 0xff, green = pixel >> 8 & 0xff, blue = pixel & 0xff;
                const bool pinkish = pixel != kMagenta && red > 150 && blue > 150 && green < red - 60;
                QVERIFY2(!pinkish, qPrintable(QString("pink fringe at %1,%2").arg(x).arg(y)));
            }
        }
    }
    QVERIFY2(luminance(decodedPng(hover)) > luminance(decodedPng(normal)) + 5, "hover is lighter");
}

void ArtworkTest::trayIconHoldsFourSizesAt32Bits()
{
    const QByteArray ico = resourceBytes("tray.ico");
    QCOMPARE(littleEndian(ico, 0, 2), 0u);  // reserved
    QCOMPARE(littleEndian(ico, 2, 2), 1u);  // an icon, not a cursor
    QCOMPARE(littleEndian(ico, 4, 2), 4u);
    std::set<int> sizes;
    for (int i = 0; i < 4; ++i) {
        const int entry = 6 + 16 * i;
        const int size = uint8_t(ico[entry]) == 0 ? 256 : uint8_t(ico[entry]);
        QCOMPARE(int(uint8_t(ico[entry + 1])), size);
        QCOMPARE(littleEndian(ico, entry + 6, 2), 32u);
        const int offset = int(littleEndian(ico, entry + 12, 4));
        QCOMPARE(littleEndian(ico, offset, 4), 40u);       // a bitmap header follows
        QCOMPARE(littleEndian(ico, offset + 14, 2), 32u);  // at 32 bits per pixel
        sizes.insert(size);
    }
    QCOMPARE(sizes, (std::set<int>{16, 24, 32, 48}));

    QImageReader reader(":/tray.ico");
    QCOMPARE(reader.imageCount(), 4);
    QVERIFY(reader.read().hasAlphaChannel());
}

void ArtworkTest::resourcePicturesLoadAsArgb32()
{
    const QImage frame = loadResourcePicture("MAINFORM");
    QCOMPARE(frame.size(), QSize(kFrameWidth, kFrameHeight));
    QCOMPARE(frame.format(), QImage::Format_ARGB32);
    const Image32 decoded = decodedPng("MAINFORM");
    for (QPoint p : {QPoint(300, 200), QPoint(1, 176), QPoint(44, 43), QPoint(0, 0)}) {
        QCOMPARE(uint32_t(frame.pixel(p)), at(decoded, p.x(), p.y()));  // colours not premultiplied
    }

    const QImage body = loadResourcePicture("body.jpg");
    QCOMPARE(body.size(), kBody.size());
    QCOMPARE(qAlpha(body.pixel(10, 10)), 255);
    // The pages of the decoded pictures' bytes let go, they decode the same again.
    releaseDecodedPictureBytes();
    QCOMPARE(loadResourcePicture("MAINFORM"), frame);
    QCOMPARE(loadResourcePicture("body.jpg"), body);

    QVERIFY(loadResourcePicture("no-such-picture.png").isNull());
    QVERIFY(loadResourcePicture("").isNull());
    QVERIFY(loadResourcePicture("tray.ico").isNull());  // neither PNG nor JPEG
}

void ArtworkTest::scaledScreensTakeThePictureAtTwiceTheSize()
{
    QCOMPARE(doubleSizeAlias("MAINFORM"), QString("MAINFORM@2x"));
    QCOMPARE(doubleSizeAlias("body.jpg"), QString("body@2x.jpg"));
    for (qreal ratio : {1.25, 1.5, 2.0, 3.0}) {
        const QImage frame = loadResourcePicture("MAINFORM", ratio);
        QCOMPARE(frame.size(), QSize(2 * kFrameWidth, 2 * kFrameHeight));
        QCOMPARE(frame.devicePixelRatio(), 2.0);
        QCOMPARE(frame.deviceIndependentSize(), QSizeF(kFrameWidth, kFrameHeight));
    }
    const QImage unscaled = loadResourcePicture("body.jpg", 1.0);
    QCOMPARE(unscaled.size(), kBody.size());
    QCOMPARE(unscaled.devicePixelRatio(), 1.0);
    // Without a larger picture, the picture as it is.
    const QImage small = loadResourcePicture("tray-16.png", 2.0);
    QCOMPARE(small.size(), QSize(16, 16));
    QCOMPARE(small.devicePixelRatio(), 1.0);
    QVERIFY(loadResourcePicture("no-such-picture.png", 2.0).isNull());
}

void ArtworkTest::picturesDecodedAheadAreHandedOverOnceForTheirScale()
{
    const QImage frame = loadResourcePicture("MAINFORM", 2.0);
    PicturesDecodedAhead ahead({"no-such-picture.png", "MAINFORM", "body.jpg"}, 1.5);
    // Not decoded for this scale: the picture of the scale asked for.
    QCOMPARE(loadResourcePicture("body.jpg", 1.0).size(), kBody.size());
    // A picture that does not decode holds nobody up.
    QVERIFY(loadResourcePicture("no-such-picture.png", 2.0).isNull());
    const QImage taken = loadResourcePicture("MAINFORM", 2.0);
    QCOMPARE(taken, frame);
    QCOMPARE(taken.devicePixelRatio(), 2.0);
    QVERIFY(!ahead.take("MAINFORM", 2.0));  // handed over once; then decoded as ever
    QCOMPARE(loadResourcePicture("MAINFORM", 2.0), frame);
    // "body.jpg" at twice the size, never taken, goes with it.
}

QTEST_GUILESS_MAIN(ArtworkTest)
#include "ArtworkTest.moc"
