#include "shell/PictureDecoder.h"

#include <png.h>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/linux/SharedLibrary.h"

// The library's ABI version is part of its file name.
static_assert(JPEG_LIB_VERSION == 62, "kJpegLibrary names the library of this ABI");

// Both libraries report errors through longjmp. Each function that calls into
// a library therefore does only that: it holds no C++ object with a
// destructor, so a jump back to its setjmp skips nothing. Buffers are
// allocated between those calls, in ordinary C++.

namespace pelmora {
namespace {

bool sizeAcceptable(uint64_t width, uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

uint32_t argb(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue)
{
    return alpha << 24 | red << 16 | green << 8 | blue;
}

// --- PNG --------------------------------------------------------------------

enum class Transparency { None, SingleColour, Partial };

struct PngDecoding {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t offset = 0;  // next byte libpng reads
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int colourType = 0;
    Transparency transparency = Transparency::None;
    bool paletteKey = false;  // the single transparent colour is a palette entry's
    png_color paletteKeyColour{};

    ~PngDecoding() { png_destroy_read_struct(&png, &info, nullptr); }
};

void readPngBytes(png_structp png, png_bytep out, size_t length)
{
    auto* decoding = static_cast<PngDecoding*>(png_get_io_ptr(png));
    if (length > decoding->size - decoding->offset) png_error(png, "truncated picture");
    std::memcpy(out, decoding->data + decoding->offset, length);
    decoding->offset += length;
}

[[noreturn]] void onPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}
void onPngWarning(png_structp, png_const_charp)
{
}

// A palette "names one colour" when exactly one entry is fully transparent
// and every other entry is opaque; any other transparency chunk on a palette
// holds several alpha values.
void classifyPaletteTransparency(PngDecoding& d)
{
    png_bytep alphas = nullptr;
    int alphaCount = 0;
    png_colorp palette = nullptr;
    int paletteCount = 0;
    png_get_tRNS(d.png, d.info, &alphas, &alphaCount, nullptr);
    png_get_PLTE(d.png, d.info, &palette, &paletteCount);
    int translucent = 0;
    int transparentIndex = -1;
    for (int i = 0; i < alphaCount; ++i) {
        if (alphas[i] == 255) continue;
        ++translucent;
        if (alphas[i] == 0) transparentIndex = i;
    }
    if (translucent == 1 && transparentIndex >= 0 && transparentIndex < paletteCount) {
        d.transparency = Transparency::SingleColour;
        d.paletteKey = true;
        d.paletteKeyColour = palette[transparentIndex];
    } else {
        d.transparency = Transparency::Partial;
    }
}

// Reads the header and sets libpng up to deliver 8-bit RGBA rows whatever the
// PNG's depth, colour type or interlacing. A grey or colour key becomes alpha
// 0 on exactly the matching pixels (compared at the PNG's own depth).
bool readPngHeader(PngDecoding& d)
{
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_set_read_fn(d.png, &d, readPngBytes);
    png_set_user_limits(d.png, kMaxPictureSide, kMaxPictureSide);
    png_read_info(d.png, d.info);

    d.width = png_get_image_width(d.png, d.info);
    d.height = png_get_image_height(d.png, d.info);
    d.colourType = png_get_color_type(d.png, d.info);
    const bool hasKey = png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0;
    if (d.colourType & PNG_COLOR_MASK_ALPHA) {
        d.transparency = Transparency::Partial;
    } else if (hasKey && d.colourType == PNG_COLOR_TYPE_PALETTE) {
        classifyPaletteTransparency(d);
    } else if (hasKey) {
        d.transparency = Transparency::SingleColour;
    }

    png_set_scale_16(d.png);
    png_set_expand(d.png);  // palette to RGB, grey to 8 bits, key to alpha
    png_set_gray_to_rgb(d.png);
    png_set_add_alpha(d.png, 0xff, PNG_FILLER_AFTER);  // only where no alpha came
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);
    return png_get_channels(d.png, d.info) == 4 && png_get_bit_depth(d.png, d.info) == 8;
}

bool readPngRows(PngDecoding& d, png_bytepp rows)
{
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_read_image(d.png, rows);
    png_read_end(d.png, nullptr);
    return true;
}

uint8_t chosenAlpha(const PngDecoding& d, const uint8_t* rgba)
{
    switch (d.transparency) {
        case Transparency::None:
            return 255;
        case Transparency::SingleColour:
            if (!d.paletteKey) return rgba[3];  // libpng keyed exactly this colour
            return rgba[0] == d.paletteKeyColour.red && rgba[1] == d.paletteKeyColour.green &&
                           rgba[2] == d.paletteKeyColour.blue
                       ? 0
                       : 255;
        case Transparency::Partial:
            return d.colourType & PNG_COLOR_MASK_ALPHA ? rgba[3] : 255;
    }
    return 255;
}

// --- JPEG -------------------------------------------------------------------

// The functions of the JPEG library the decoding calls, bound at run time.
struct JpegLibrary {
    explicit JpegLibrary(const char* soname) : library(soname)
    {
        complete = library.bind("jpeg_std_error", std_error) &&
                   library.bind("jpeg_CreateDecompress", create_decompress) &&
                   library.bind("jpeg_mem_src", mem_src) && library.bind("jpeg_read_header", read_header) &&
                   library.bind("jpeg_start_decompress", start_decompress) &&
                   library.bind("jpeg_read_scanlines", read_scanlines) &&
                   library.bind("jpeg_finish_decompress", finish_decompress) &&
                   library.bind("jpeg_destroy_decompress", destroy_decompress);
    }
    SharedLibrary library;
    bool complete = false;
    decltype(&jpeg_std_error) std_error = nullptr;
    decltype(&jpeg_CreateDecompress) create_decompress = nullptr;
    decltype(&jpeg_mem_src) mem_src = nullptr;
    decltype(&jpeg_read_header) read_header = nullptr;
    decltype(&jpeg_start_decompress) start_decompress = nullptr;
    decltype(&jpeg_read_scanlines) read_scanlines = nullptr;
    decltype(&jpeg_finish_decompress) finish_decompress = nullptr;
    decltype(&jpeg_destroy_decompress) destroy_decompress = nullptr;
};

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so the library's pointer converts back
    std::jmp_buf jump;
};

[[noreturn]] void onJpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Warnings are corrupt data (a truncated stream, bad entropy data); the
// library would paint over them in grey, so they fail the decoding.
void onJpegMessage(j_common_ptr info, int level)
{
    if (level < 0) onJpegError(info);
}

struct JpegDecoding {
    explicit JpegDecoding(const JpegLibrary& library) : jpeg(library) {}
    const JpegLibrary& jpeg;  // outlives this
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    bool created = false;

    ~JpegDecoding()
    {
        if (created) jpeg.destroy_decompress(&info);
    }
};

bool readJpegHeader(JpegDecoding& d, const uint8_t* data, size_t size)
{
    d.info.err = d.jpeg.std_error(&d.errors.manager);
    d.errors.manager.error_exit = onJpegError;
    d.errors.manager.emit_message = onJpegMessage;
    if (setjmp(d.errors.jump)) return false;
    d.jpeg.create_decompress(&d.info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    d.created = true;
    d.jpeg.mem_src(&d.info, data, static_cast<unsigned long>(size));
    d.jpeg.read_header(&d.info, TRUE);
    if (!sizeAcceptable(d.info.image_width, d.info.image_height)) return false;
    d.info.out_color_space = JCS_RGB;
    d.jpeg.start_decompress(&d.info);
    return d.info.output_components == 3;
}

bool readJpegRows(JpegDecoding& d, uint8_t* rgb)
{
    if (setjmp(d.errors.jump)) return false;
    const size_t rowBytes = size_t(d.info.output_width) * 3;
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = rgb + size_t(d.info.output_scanline) * rowBytes;
        d.jpeg.read_scanlines(&d.info, &row, 1);
    }
    d.jpeg.finish_decompress(&d.info);
    return true;
}

}  // namespace

bool decodePng(const uint8_t* data, size_t size, Image32& image)
{
    image = Image32{};
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;

    PngDecoding d;
    d.data = data;
    d.size = size;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (d.png == nullptr) return false;
    d.info = png_create_info_struct(d.png);
    if (d.info == nullptr || !readPngHeader(d) || !sizeAcceptable(d.width, d.height)) return false;

    const size_t rowBytes = size_t(d.width) * 4;
    std::vector<uint8_t> rgba;
    std::vector<png_bytep> rows;
    try {
        rgba.resize(rowBytes * d.height);
        rows.resize(d.height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (size_t y = 0; y < d.height; ++y) rows[y] = rgba.data() + y * rowBytes;
    if (!readPngRows(d, rows.data())) return false;

    image.width = static_cast<int>(d.width);
    image.height = static_cast<int>(d.height);
    image.pixels.resize(size_t(d.width) * d.height);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const uint8_t* p = rgba.data() + i * 4;
        image.pixels[i] = argb(chosenAlpha(d, p), p[0], p[1], p[2]);
    }
    return true;
}

bool decodeJpeg(const uint8_t* data, size_t size, Image32& image, const char* library)
{
    image = Image32{};
    if (data == nullptr || size < 3) return false;

    const JpegLibrary jpeg(library);
    if (!jpeg.complete) return false;
    JpegDecoding d(jpeg);
    if (!readJpegHeader(d, data, size)) return false;
    const size_t width = d.info.output_width;
    const size_t height = d.info.output_height;
    std::vector<uint8_t> rgb;
    try {
        rgb.resize(width * height * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (!readJpegRows(d, rgb.data())) return false;

    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.resize(width * height);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const uint8_t* p = rgb.data() + i * 3;
        image.pixels[i] = argb(255, p[0], p[1], p[2]);
    }
    return true;
}

}  // namespace pelmora
