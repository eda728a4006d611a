// The PNG and JPEG decoders against small pictures written here with libpng
// and libjpeg, one per kind of colour and transparency.
#include <png.h>
#include <zlib.h>

#include <QtTest>

#include "shell/PictureDecoder.h"
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

using namespace pelmora;

namespace {

using Bytes = std::vector<uint8_t>;

struct PngPicture {
    int width = 0;
    int height = 0;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    std::vector<uint16_t> samples;  // every channel of every pixel, rows top to bottom
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlphas;
    std::optional<png_color_16> key;  // grey in .gray, colour in .red/.green/.blue
};

int channelsOf(int colourType)
{
    switch (colourType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        default:
            return 4;
    }
}

// One row of samples in the PNG's packing: big-endian 16 bit, bytes, or
// several samples per byte from the high bits down.
Bytes packRow(const uint16_t* samples, size_t count, int bitDepth)
{
    Bytes row;
    if (bitDepth == 16) {
        for (size_t i = 0; i < count; ++i) {
            row.push_back(uint8_t(samples[i] >> 8));
            row.push_back(uint8_t(samples[i]));
        }
    } else if (bitDepth == 8) {
        for (size_t i = 0; i < count; ++i) row.push_back(uint8_t(samples[i]));
    } else {
        const int perByte = 8 / bitDepth;
        row.assign((count + perByte - 1) / perByte, 0);
        for (size_t i = 0; i < count; ++i) {
            const int shift = 8 - bitDepth * int(i % perByte + 1);
            row[i / perByte] |= uint8_t(samples[i] << shift);
        }
    }
    return row;
}

void appendBytes(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

Bytes writePng(const PngPicture& p)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) qFatal("libpng could not write the test picture");
    png_set_write_fn(png, &out, appendBytes, nullptr);
    png_set_IHDR(png, info, p.width, p.height, p.bitDepth, p.colourType,
                 p.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!p.palette.empty()) png_set_PLTE(png, info, p.palette.data(), int(p.palette.size()));
    if (!p.paletteAlphas.empty()) {
        png_set_tRNS(png, info, p.paletteAlphas.data(), int(p.paletteAlphas.size()), nullptr);
    } else if (p.key) {
        png_set_tRNS(png, info, nullptr, 0, &*p.key);
    }
    const size_t perRow = size_t(p.width) * channelsOf(p.colourType);
    std::vector<Bytes> rows;
    std::vector<png_bytep> rowPointers;
    for (int y = 0; y < p.height; ++y)
        rows.push_back(packRow(p.samples.data() + y * perRow, perRow, p.bitDepth));
    for (auto& row : rows) rowPointers.push_back(row.data());
    png_set_rows(png, info, rowPointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

PngPicture picture(int width, int height, int bitDepth, int colourType, std::vector<uint16_t> samples)
{
    PngPicture p;
    p.width = width;
    p.height = height;
    p.bitDepth = bitDepth;
    p.colourType = colourType;
    p.samples = std::move(samples);
    return p;
}

PngPicture interlace(PngPicture p)
{
    p.interlaced = true;
    return p;
}

PngPicture withPalette(PngPicture p, std::vector<png_color> palette, std::vector<uint8_t> alphas = {})
{
    p.palette = std::move(palette);
    p.paletteAlphas = std::move(alphas);
    return p;
}

PngPicture withKey(PngPicture p, png_color_16 key)
{
    p.key = key;
    return p;
}

png_color_16 greyKey(uint16_t grey)
{
    png_color_16 key{};
    key.gray = grey;
    return key;
}

png_color_16 colourKey(uint16_t red, uint16_t green, uint16_t blue)
{
    png_color_16 key{};
    key.red = red;
    key.green = green;
    key.blue = blue;
    return key;
}

QByteArray asQt(const Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

const uint8_t* dataOf(const QByteArray& bytes)
{
    return reinterpret_cast<const uint8_t*>(bytes.constData());
}

QList<uint> pixelsOf(const Image32& image)
{
    return QList<uint>(image.pixels.begin(), image.pixels.end());
}

// A chunk rewritten in place needs its CRC put right, or libpng stops at the CRC.
void fixChunkCrc(Bytes& png, size_t chunkStart)
{
    const uint32_t length = uint32_t(png[chunkStart]) << 24 | png[chunkStart + 1] << 16 |
                            png[chunkStart + 2] << 8 | png[chunkStart + 3];
    const uLong crc = crc32(0, png.data() + chunkStart + 4, length + 4);
    for (int i = 0; i < 4; ++i) png[chunkStart + 8 + length + i] = uint8_t(crc >> (24 - 8 * i));
}

size_t findChunk(const Bytes& png, const char* type)
{
    for (size_t at = 8; at + 8 <= png.size();) {
        const uint32_t length = uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (std::memcmp(png.data() + at + 4, type, 4) == 0) return at;
        at += 12 + length;
    }
    qFatal("chunk %s missing", type);
}

void setIhdrSize(Bytes& png, uint32_t width, uint32_t height)
{
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = uint8_t(width >> (24 - 8 * i));
        png[20 + i] = uint8_t(height >> (24 - 8 * i));
    }
    fixChunkCrc(png, 8);
}

// A 16 x 12 RGBA picture whose every pixel differs.
PngPicture rgbaPattern(bool interlaced)
{
    PngPicture p = picture(16, 12, 8, PNG_COLOR_TYPE_RGB_ALPHA, {});
    p.interlaced = interlaced;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            p.samples.insert(p.samples.end(), {uint16_t(x * 16), uint16_t(y * 20), uint16_t((x * y) & 0xff),
                                               uint16_t((x + y * 16) & 0xff)});
        }
    }
    return p;
}

Bytes writeJpeg(int width, int height, bool grey, uint8_t red, uint8_t green, uint8_t blue)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    Bytes row;
    for (int x = 0; x < width; ++x) {
        if (grey)
            row.push_back(red);
        else
            row.insert(row.end(), {red, green, blue});
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&info, &rowPointer, 1);
    }
    jpeg_finish_compress(&info);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return out;
}

}  // namespace

class PictureDecoderTest : public QObject {
    Q_OBJECT

private slots:
    void decodesPng_data();
    void decodesPng();
    void interlacedPngDecodesLikePlainOne();
    void truncatedPngFailsAtEveryLength();
    void corruptPngFails_data();
    void corruptPngFails();
    void decodesJpeg();
    void brokenJpegFails_data();
    void brokenJpegFails();
    void jpegWithoutItsLibraryFails();
    void damagedPicturesNeverCrash();
};

void PictureDecoderTest::decodesPng_data()
{
    QTest::addColumn<QByteArray>("png");
    QTest::addColumn<QList<uint>>("expected");
    const uint o = 0xff000000;  // opaque

    // No transparency: every pixel opaque.
    QTest::newRow("rgb 8 bit") << asQt(writePng(
                                      picture(2, 1, 8, PNG_COLOR_TYPE_RGB, {10, 20, 30, 255, 0, 128})))
                               << QList<uint>{o | 0x0a141e, o | 0xff0080};
    QTest::newRow("rgb 16 bit scales to 8")
        << asQt(writePng(picture(2, 1, 16, PNG_COLOR_TYPE_RGB, {0xffff, 0, 0x8080, 0x1234, 0x00ff, 0x7f7f})))
        << QList<uint>{o | 0xff0080, o | 0x12017f};
    QTest::newRow("grey 8 bit") << asQt(writePng(picture(3, 1, 8, PNG_COLOR_TYPE_GRAY, {0, 77, 255})))
                                << QList<uint>{o, o | 0x4d4d4d, o | 0xffffff};
    QTest::newRow("grey 1 bit") << asQt(writePng(picture(3, 1, 1, PNG_COLOR_TYPE_GRAY, {1, 0, 1})))
                                << QList<uint>{o | 0xffffff, o, o | 0xffffff};
    QTest::newRow("grey 2 bit") << asQt(writePng(picture(4, 1, 2, PNG_COLOR_TYPE_GRAY, {0, 1, 2, 3})))
                                << QList<uint>{o, o | 0x555555, o | 0xaaaaaa, o | 0xffffff};
    QTest::newRow("grey 4 bit") << asQt(writePng(picture(2, 1, 4, PNG_COLOR_TYPE_GRAY, {5, 15})))
                                << QList<uint>{o | 0x555555, o | 0xffffff};
    QTest::newRow("grey 16 bit") << asQt(writePng(picture(2, 1, 16, PNG_COLOR_TYPE_GRAY, {0xffff, 0x8080})))
                                 << QList<uint>{o | 0xffffff, o | 0x808080};
    QTest::newRow("palette 4 bit") << asQt(writePng(
                                          withPalette(picture(3, 1, 4, PNG_COLOR_TYPE_PALETTE, {2, 0, 1}),
                                                      {{1, 2, 3}, {200, 100, 50}, {0, 0, 255}})))
                                   << QList<uint>{o | 0x0000ff, o | 0x010203, o | 0xc86432};

    // One transparent colour: alpha 0 on every pixel of exactly that colour,
    // in the last column and the last row too; colours are kept.
    const std::vector<uint16_t> keyed{5, 6, 7, 5, 6, 8, 5, 6, 7,   // key, near miss, key in last column
                                      9, 9, 9, 1, 1, 1, 2, 2, 2,   //
                                      0, 0, 0, 5, 6, 7, 5, 6, 7};  // key in last row and last corner
    QTest::newRow("rgb key") << asQt(writePng(
                                    withKey(picture(3, 3, 8, PNG_COLOR_TYPE_RGB, keyed), colourKey(5, 6, 7))))
                             << QList<uint>{0x050607,     o | 0x050608, 0x050607, o | 0x090909,
                                            o | 0x010101, o | 0x020202, o,        0x050607,
                                            0x050607};
    QTest::newRow("grey key")
        << asQt(writePng(withKey(picture(2, 2, 8, PNG_COLOR_TYPE_GRAY, {100, 101, 99, 100}), greyKey(100))))
        << QList<uint>{0x646464, o | 0x656565, o | 0x636363, 0x646464};
    QTest::newRow("grey 2 bit key") << asQt(writePng(withKey(
                                           picture(4, 1, 2, PNG_COLOR_TYPE_GRAY, {0, 1, 2, 1}), greyKey(1))))
                                    << QList<uint>{o, 0x555555, o | 0xaaaaaa, 0x555555};
    // 0x1235 and 0x1234 both become 0x12 at 8 bits; only the key itself is clear.
    QTest::newRow("grey 16 bit key compared at 16 bits")
        << asQt(writePng(withKey(picture(2, 1, 16, PNG_COLOR_TYPE_GRAY, {0x1235, 0x1234}), greyKey(0x1234))))
        << QList<uint>{o | 0x121212, 0x121212};
    QTest::newRow("rgb 16 bit key") << asQt(writePng(withKey(picture(2, 1, 16, PNG_COLOR_TYPE_RGB,
                                                                     {0, 0xffff, 0, 0, 0xfffe, 0}),
                                                             colourKey(0, 0xffff, 0))))
                                    << QList<uint>{0x00ff00, o | 0x00ff00};
    // A palette with one fully transparent entry names one colour; another
    // entry of that same colour goes clear with it.
    QTest::newRow("palette with one clear entry")
        << asQt(writePng(withPalette(picture(4, 1, 8, PNG_COLOR_TYPE_PALETTE, {0, 1, 2, 3}),
                                     {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {40, 50, 60}}, {255, 0})))
        << QList<uint>{o | 0x0a141e, 0x28323c, o | 0x46505a, 0x28323c};

    // Partial transparency: grey or colour with alpha keep the PNG's alpha,
    // colours not multiplied by it; a palette with several alphas stays opaque.
    QTest::newRow("rgba 8 bit") << asQt(writePng(picture(
                                       4, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                                       {200, 100, 50, 0, 200, 100, 50, 1, 10, 20, 30, 128, 1, 2, 3, 255})))
                                << QList<uint>{0x00c86432, 0x01c86432, 0x800a141e, 0xff010203};
    QTest::newRow("rgba 16 bit") << asQt(writePng(picture(1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA,
                                                          {0xffff, 0x8080, 0, 0x8080})))
                                 << QList<uint>{0x80ff8000};
    QTest::newRow("grey alpha 8 bit")
        << asQt(writePng(picture(2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, {255, 0, 17, 216})))
        << QList<uint>{0x00ffffff, 0xd8111111};
    QTest::newRow("grey alpha 16 bit")
        << asQt(writePng(picture(1, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, {0x4040, 0xd8d8})))
        << QList<uint>{0xd8404040};
    QTest::newRow("palette with several alphas is opaque")
        << asQt(writePng(withPalette(picture(3, 1, 8, PNG_COLOR_TYPE_PALETTE, {0, 1, 2}),
                                     {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}}, {0, 128, 255})))
        << QList<uint>{o | 0x0a141e, o | 0x28323c, o | 0x46505a};
    QTest::newRow("palette with one half-clear entry is opaque")
        << asQt(writePng(withPalette(picture(2, 1, 8, PNG_COLOR_TYPE_PALETTE, {0, 1}),
                                     {{10, 20, 30}, {40, 50, 60}}, {128})))
        << QList<uint>{o | 0x0a141e, o | 0x28323c};
}

void PictureDecoderTest::decodesPng()
{
    QFETCH(QByteArray, png);
    QFETCH(QList<uint>, expected);
    Image32 image;
    QVERIFY(decodePng(dataOf(png), size_t(png.size()), image));
    QCOMPARE(size_t(image.width) * size_t(image.height), size_t(expected.size()));
    QCOMPARE(pixelsOf(image), expected);
}

void PictureDecoderTest::interlacedPngDecodesLikePlainOne()
{
    const Bytes plain = writePng(rgbaPattern(false));
    const Bytes interlaced = writePng(rgbaPattern(true));
    Image32 fromPlain;
    Image32 fromInterlaced;
    QVERIFY(decodePng(plain.data(), plain.size(), fromPlain));
    QVERIFY(decodePng(interlaced.data(), interlaced.size(), fromInterlaced));
    QCOMPARE(fromInterlaced.width, 16);
    QCOMPARE(fromInterlaced.height, 12);
    QCOMPARE(pixelsOf(fromInterlaced), pixelsOf(fromPlain));
    QCOMPARE(fromInterlaced.pixels[11 * 16 + 15], 0xbff0dca5u);  // last pixel: 240, 220, 165, alpha 191

    // Interlacing combined with packed grey samples.
    const PngPicture grey =
        interlace(picture(5, 3, 4, PNG_COLOR_TYPE_GRAY, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15}));
    const Bytes greyPng = writePng(grey);
    Image32 greyImage;
    QVERIFY(decodePng(greyPng.data(), greyPng.size(), greyImage));
    QCOMPARE(greyImage.pixels[0], 0xff000000u);
    QCOMPARE(greyImage.pixels[7], 0xff777777u);
    QCOMPARE(greyImage.pixels[14], 0xffffffffu);
}

void PictureDecoderTest::truncatedPngFailsAtEveryLength()
{
    const Bytes png = writePng(rgbaPattern(false));
    for (size_t length = 0; length < png.size(); ++length) {
        Image32 image{1, 1, {0u}};
        QVERIFY2(!decodePng(png.data(), length, image), qPrintable(QString::number(length)));
        QVERIFY(image.width == 0 && image.height == 0 && image.pixels.empty());
    }
}

void PictureDecoderTest::corruptPngFails_data()
{
    QTest::addColumn<QByteArray>("png");
    const Bytes good = writePng(rgbaPattern(false));
    const size_t idat = findChunk(good, "IDAT");

    Bytes badSignature = good;
    badSignature[1] = 'Q';
    Bytes badCrc = good;
    badCrc[idat + 10] ^= 0x55;
    Bytes badDeflate = good;  // CRC right, compressed data wrong
    for (size_t i = idat + 10; i < idat + 20; ++i) badDeflate[i] = 0xff;
    fixChunkCrc(badDeflate, idat);
    Bytes zeroWidth = good;
    setIhdrSize(zeroWidth, 0, 12);
    Bytes hugeSides = good;
    setIhdrSize(hugeSides, 100000, 100000);
    Bytes tooManyPixels = good;  // each side allowed, the whole refused
    setIhdrSize(tooManyPixels, kMaxPictureSide, kMaxPictureSide);
    Bytes noImageData = good;
    noImageData.erase(noImageData.begin() + long(idat), noImageData.end() - 12);

    QTest::newRow("bad signature") << asQt(badSignature);
    QTest::newRow("bad image data checksum") << asQt(badCrc);
    QTest::newRow("bad compressed data") << asQt(badDeflate);
    QTest::newRow("zero width") << asQt(zeroWidth);
    QTest::newRow("absurd sides") << asQt(hugeSides);
    QTest::newRow("absurd pixel count") << asQt(tooManyPixels);
    QTest::newRow("no image data") << asQt(noImageData);
    QTest::newRow("a JPEG") << asQt(writeJpeg(8, 8, false, 1, 2, 3));
}

void PictureDecoderTest::corruptPngFails()
{
    QFETCH(QByteArray, png);
    Image32 image;
    QVERIFY(!decodePng(dataOf(png), size_t(png.size()), image));
    QVERIFY(image.pixels.empty());
    QVERIFY(!decodePng(nullptr, 100, image));
}

void PictureDecoderTest::decodesJpeg()
{
    const Bytes colour = writeJpeg(19, 7, false, 200, 60, 20);
    Image32 image;
    QVERIFY(decodeJpeg(colour.data(), colour.size(), image));
    QCOMPARE(image.width, 19);
    QCOMPARE(image.height, 7);
    for (uint32_t pixel : image.pixels) {
        QCOMPARE(pixel >> 24, 255u);
        QVERIFY(qAbs(int(pixel >> 16 & 0xff) - 200) <= 3);
        QVERIFY(qAbs(int(pixel >> 8 & 0xff) - 60) <= 3);
        QVERIFY(qAbs(int(pixel & 0xff) - 20) <= 3);
    }

    const Bytes grey = writeJpeg(8, 8, true, 90, 0, 0);
    QVERIFY(decodeJpeg(grey.data(), grey.size(), image));
    QCOMPARE(image.pixels.front(), 0xff5a5a5au);
    QCOMPARE(image.pixels.back(), 0xff5a5a5au);
}

void PictureDecoderTest::brokenJpegFails_data()
{
    QTest::addColumn<QByteArray>("jpeg");
    const Bytes good = writeJpeg(32, 32, false, 10, 200, 90);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("only the start marker") << QByteArray("\xff\xd8\xff", 3);
    QTest::newRow("cut in the header") << asQt(Bytes(good.begin(), good.begin() + 100));
    QTest::newRow("cut in the image data") << asQt(Bytes(good.begin(), good.end() - 40));
    QTest::newRow("a PNG") << asQt(writePng(rgbaPattern(false)));

    Bytes huge = good;  // frame header claiming 60000 x 60000
    for (size_t i = 2; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xff && huge[i + 1] == 0xc0) {
            huge[i + 5] = 0xea, huge[i + 6] = 0x60, huge[i + 7] = 0xea, huge[i + 8] = 0x60;
            break;
        }
    }
    QTest::newRow("absurd size") << asQt(huge);
    Bytes scrambled = good;
    for (size_t i = scrambled.size() / 2; i < scrambled.size() - 2; i += 7) scrambled[i] = 0xff;
    QTest::newRow("scrambled image data") << asQt(scrambled);
}

void PictureDecoderTest::brokenJpegFails()
{
    QFETCH(QByteArray, jpeg);
    Image32 image{1, 1, {0u}};
    QVERIFY(!decodeJpeg(dataOf(jpeg), size_t(jpeg.size()), image));
    QVERIFY(image.pixels.empty());
}

// The library is loaded for each decoding: where it is missing, or is some
// other library, a good picture fails as a bad one does, without a crash.
void PictureDecoderTest::jpegWithoutItsLibraryFails()
{
    const Bytes good = writeJpeg(8, 8, false, 10, 20, 30);
    for (const char* library : {"libpelmora-no-such-library.so", "libz.so.1"}) {
        Image32 image{1, 1, {0u}};
        QVERIFY(!decodeJpeg(good.data(), good.size(), image, library));
        QVERIFY(image.pixels.empty());
    }
}

// Every byte of a good picture replaced in turn by a few values: the
// decoders must answer, and a success must still be a sane picture. Most
// useful in the sanitizer build.
void PictureDecoderTest::damagedPicturesNeverCrash()
{
    const Bytes png = writePng(rgbaPattern(true));
    const Bytes jpeg = writeJpeg(24, 16, false, 30, 140, 250);
    for (const Bytes* good : {&png, &jpeg}) {
        for (size_t i = 0; i < good->size(); ++i) {
            for (uint8_t value : {uint8_t(0x00), uint8_t(0xff), uint8_t((*good)[i] ^ 0x10)}) {
                Bytes damaged = *good;
                damaged[i] = value;
                Image32 image;
                const bool ok = good == &png ? decodePng(damaged.data(), damaged.size(), image)
                                             : decodeJpeg(damaged.data(), damaged.size(), image);
                if (ok) {
                    QVERIFY(image.width > 0 && image.height > 0);
                    QCOMPARE(image.pixels.size(), size_t(image.width) * size_t(image.height));
                } else {
                    QVERIFY(image.pixels.empty());
                }
            }
        }
    }
}

QTEST_GUILESS_MAIN(PictureDecoderTest)
#include "PictureDecoderTest.moc"
