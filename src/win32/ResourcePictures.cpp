#include "win32/ResourcePictures.h"

// clang-format off
#include <windows.h>
#include <wincodec.h>
// clang-format on

#include "platform/windows/WideText.h"

namespace pelmora {

namespace {

// The widget's largest picture is 587 x 352: anything far larger is corrupt.
constexpr UINT kMaxPictureSide = 8192;

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (pointer_) pointer_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** out() { return &pointer_; }
    T* operator->() const { return pointer_; }
    T* get() const { return pointer_; }

private:
    T* pointer_ = nullptr;
};

Picture decode(const void* data, DWORD size)
{
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out())))) {
        return {};
    }
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.out()))) return {};
    auto* bytes = static_cast<BYTE*>(const_cast<void*>(data));  // WIC only reads it
    if (FAILED(stream->InitializeFromMemory(bytes, size))) return {};
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.out()))) {
        return {};
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.out()))) return {};
    // Straight (not premultiplied) BGRA: a PNG's transparency, palette key
    // included, arrives as alpha; a JPEG comes out opaque.
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
        return {};
    }
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxPictureSide ||
        height > kMaxPictureSide) {
        return {};
    }
    Picture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(static_cast<size_t>(width) * height);
    // BGRA in memory is 0xAARRGGBB in a little-endian word.
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(picture.pixels.data())))) {
        return {};
    }
    return picture;
}

}  // namespace

Picture loadResourcePicture(const std::string& alias)
{
    const std::wstring name = toWide(alias);
    HRSRC resource = ::FindResourceW(nullptr, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!resource) return {};
    HGLOBAL loaded = ::LoadResource(nullptr, resource);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = ::SizeofResource(nullptr, resource);
    if (!data || size == 0) return {};
    return decode(data, size);
}

Picture keyedOut(Picture picture, uint32_t keyRgb)
{
    for (uint32_t& pixel : picture.pixels) {
        if ((pixel & 0xffffffu) == (keyRgb & 0xffffffu)) pixel = 0;
    }
    return picture;
}

}  // namespace pelmora
