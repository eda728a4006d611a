#pragma once
// A decoded picture of the widget's resources and the 32-bit bitmaps GDI
// draws it from.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace pelmora {

// 0xAARRGGBB pixels, colour not multiplied by alpha, rows top to bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    bool isNull() const { return pixels.empty(); }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A top-down 32-bit DIB section selected into a memory DC of its own, both
// released with it.
class DibCanvas {
public:
    DibCanvas() = default;
    DibCanvas(int width, int height);
    ~DibCanvas();
    DibCanvas(DibCanvas&& other) noexcept;
    DibCanvas& operator=(DibCanvas&& other) noexcept;
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    uint32_t* bits() const { return bits_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool isNull() const { return dc_ == nullptr; }

private:
    void release();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The picture premultiplied, ready for AlphaBlend or UpdateLayeredWindow.
DibCanvas premultipliedCanvas(const Picture& picture);
// A length of the layout on a monitor of `scale` (pixels per inch over 96).
inline int scaledLength(int length, double scale)
{
    return static_cast<int>(length * scale + 0.5);
}
// The canvas `scale` times its size, pixels repeated (never blended, so a
// colour key stays exact); the canvas itself at 1.
DibCanvas scaledCanvas(DibCanvas canvas, double scale);
// The pixels of `box` of `to`, each taken from where it lies in `from`
// (`scale` times smaller), the same way.
void copyScaled(const DibCanvas& from, const DibCanvas& to, const RECT& box, double scale);
// Draws a premultiplied canvas at (x, y) of `target`, blending by its alpha.
void blendCanvas(HDC target, int x, int y, const DibCanvas& canvas);

}  // namespace pelmora
