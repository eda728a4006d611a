#include "win32/Picture.h"

#include <algorithm>
#include <utility>

namespace pelmora {

DibCanvas::DibCanvas(int width, int height) : width_(width), height_(height)
{
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_) return;
    dc_ = ::CreateCompatibleDC(nullptr);
    if (!dc_) {
        release();
        return;
    }
    previous_ = ::SelectObject(dc_, bitmap_);
    bits_ = static_cast<uint32_t*>(bits);
}

DibCanvas::~DibCanvas()
{
    release();
}

DibCanvas::DibCanvas(DibCanvas&& other) noexcept
{
    *this = std::move(other);
}

DibCanvas& DibCanvas::operator=(DibCanvas&& other) noexcept
{
    if (this == &other) return *this;
    release();
    dc_ = std::exchange(other.dc_, nullptr);
    bitmap_ = std::exchange(other.bitmap_, nullptr);
    previous_ = std::exchange(other.previous_, nullptr);
    bits_ = std::exchange(other.bits_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    return *this;
}

void DibCanvas::release()
{
    if (dc_ && previous_) ::SelectObject(dc_, previous_);
    if (dc_) ::DeleteDC(dc_);
    if (bitmap_) ::DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
    bits_ = nullptr;
}

DibCanvas premultipliedCanvas(const Picture& picture)
{
    DibCanvas canvas(picture.width, picture.height);
    if (canvas.isNull()) return canvas;
    ::GdiFlush();
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const uint32_t pixel = picture.pixels[i];
        const uint32_t alpha = pixel >> 24;
        auto channel = [alpha](uint32_t value) { return (value * alpha + 127) / 255; };
        canvas.bits()[i] = alpha << 24 | channel(pixel >> 16 & 0xff) << 16 | channel(pixel >> 8 & 0xff) << 8 |
                           channel(pixel & 0xff);
    }
    return canvas;
}

DibCanvas scaledCanvas(DibCanvas canvas, double scale)
{
    if (scale == 1.0 || canvas.isNull()) return canvas;
    DibCanvas scaled(scaledLength(canvas.width(), scale), scaledLength(canvas.height(), scale));
    if (scaled.isNull()) return canvas;
    copyScaled(canvas, scaled, {0, 0, scaled.width(), scaled.height()}, scale);
    return scaled;
}

void copyScaled(const DibCanvas& from, const DibCanvas& to, const RECT& box, double scale)
{
    ::GdiFlush();
    for (LONG y = std::max(0L, box.top); y < std::min<LONG>(box.bottom, to.height()); ++y) {
        const int sourceY = std::min(static_cast<int>(y / scale), from.height() - 1);
        const uint32_t* source = from.bits() + static_cast<size_t>(sourceY) * from.width();
        uint32_t* target = to.bits() + static_cast<size_t>(y) * to.width();
        for (LONG x = std::max(0L, box.left); x < std::min<LONG>(box.right, to.width()); ++x) {
            target[x] = source[std::min(static_cast<int>(x / scale), from.width() - 1)];
        }
    }
}

void blendCanvas(HDC target, int x, int y, const DibCanvas& canvas)
{
    if (canvas.isNull()) return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(target, x, y, canvas.width(), canvas.height(), canvas.dc(), 0, 0, canvas.width(),
                 canvas.height(), blend);
}

}  // namespace pelmora
