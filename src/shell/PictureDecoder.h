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

bool decodePng(const uint8_t* data, size_t size, Image32& image);
bool decodeJpeg(const uint8_t* data, size_t size, Image32& image);

}  // namespace pelmora
