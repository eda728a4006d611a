#pragma once
// Decodes the embedded pictures into 32-bit 0xAARRGGBB images whose colour
// channels are not multiplied by alpha.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelmora {

struct Image32 {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // rows top to bottom
};

// Pictures beyond these sizes are refused before any pixel memory is taken:
// the widget's largest picture is 587 x 352, so a bigger header is corrupt.
inline constexpr uint32_t kMaxPictureSide = 8192;
inline constexpr uint64_t kMaxPicturePixels = 4096u * 4096u;

// Both return false, with `image` left empty, for corrupt, truncated,
// unsupported or oversized input; they never abort the process.
//
// decodePng applies the backdrop's transparency rules: no transparency gives
// opaque pixels; one transparent colour (a grey or colour key, or a palette
// with exactly one fully transparent entry) gives alpha 0 to every pixel of
// that colour; grey or colour with an alpha channel keeps the PNG's alpha; a
// palette with several transparency values stays opaque.
bool decodePng(const uint8_t* data, size_t size, Image32& image);

// The JPEG library is loaded for each decoding and unloaded after it (the
// widget decodes one JPEG at start and keeps nothing of the library mapped).
// Where `library` cannot be loaded, or lacks a function, the decoding fails
// as for a bad picture.
inline constexpr const char* kJpegLibrary = "libjpeg.so.62";
bool decodeJpeg(const uint8_t* data, size_t size, Image32& image, const char* library = kJpegLibrary);

}  // namespace pelmora
