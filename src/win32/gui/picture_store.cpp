#include "win32/gui/picture_store.h"

#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "win32/gui/resource_ids.h"
#include "win32/system/system_library.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

namespace {

// Pictures of one group are made together: one loading of the decoder for a window's pictures.
enum class PictureGroup { Controller, About };

struct PictureResource {
    platform::PictureId id;
    PictureGroup group;
    int resource;
    int width;
    int height;
};

constexpr PictureResource kPictures[] = {
    {platform::PictureId::VistaSkin, PictureGroup::Controller, QMX_PICTURE_VISTA_SKIN, 66, 186},
    {platform::PictureId::ClassicSkin, PictureGroup::Controller, QMX_PICTURE_CLASSIC_SKIN, 66, 186},
    {platform::PictureId::Knob, PictureGroup::Controller, QMX_PICTURE_KNOB, 15, 19},
    {platform::PictureId::VistaClose, PictureGroup::Controller, QMX_PICTURE_VISTA_CLOSE, 25, 26},
    {platform::PictureId::VistaCloseHighlighted, PictureGroup::Controller,
     QMX_PICTURE_VISTA_CLOSE_HOT, 25, 26},
    {platform::PictureId::ClassicClose, PictureGroup::Controller, QMX_PICTURE_CLASSIC_CLOSE, 15,
     14},
    {platform::PictureId::AboutBackground, PictureGroup::About, QMX_PICTURE_ABOUT_BACKGROUND, 441,
     409},
    {platform::PictureId::AboutLogo, PictureGroup::About, QMX_PICTURE_ABOUT_LOGO, 62, 31},
};

const PictureResource* resourceOf(platform::PictureId picture) {
    for (const auto& resource : kPictures) {
        if (resource.id == picture) return &resource;
    }
    return nullptr;
}

// GDI+ (a system DLL) decodes the PNG resources. It is loaded from the system folder only while
// a group of pictures is being made, and unloaded again: the program keeps only the bitmaps.
class GdiPlus {
public:
    GdiPlus() {
        const bool found =
            resolve(startup, "GdiplusStartup") && resolve(shutdown, "GdiplusShutdown") &&
            resolve(bitmapFromStream, "GdipCreateBitmapFromStream") &&
            resolve(imageWidth, "GdipGetImageWidth") &&
            resolve(imageHeight, "GdipGetImageHeight") && resolve(lockBits, "GdipBitmapLockBits") &&
            resolve(unlockBits, "GdipBitmapUnlockBits") &&
            resolve(disposeImage, "GdipDisposeImage");
        Gdiplus::GdiplusStartupInput input;
        started_ = found && startup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiPlus() {
        if (started_) shutdown(token_);
    }
    GdiPlus(const GdiPlus&) = delete;
    GdiPlus& operator=(const GdiPlus&) = delete;
    bool ok() const { return started_; }

    decltype(&Gdiplus::GdiplusStartup) startup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) shutdown = nullptr;
    decltype(&Gdiplus::DllExports::GdipCreateBitmapFromStream) bitmapFromStream = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageWidth) imageWidth = nullptr;
    decltype(&Gdiplus::DllExports::GdipGetImageHeight) imageHeight = nullptr;
    decltype(&Gdiplus::DllExports::GdipBitmapLockBits) lockBits = nullptr;
    decltype(&Gdiplus::DllExports::GdipBitmapUnlockBits) unlockBits = nullptr;
    decltype(&Gdiplus::DllExports::GdipDisposeImage) disposeImage = nullptr;

private:
    template <typename Function>
    bool resolve(Function& function, const char* name) {
        function = library_.function<Function>(name);
        return function != nullptr;
    }

    SystemLibrary library_{L"gdiplus.dll"};
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

// A stream over a copy of the resource's bytes; the stream frees the copy.
ComPtr<IStream> streamOf(const void* bytes, DWORD size) {
    ComPtr<IStream> stream;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) return stream;
    void* target = GlobalLock(copy);
    std::memcpy(target, bytes, size);
    GlobalUnlock(copy);
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, stream.put()))) GlobalFree(copy);
    return stream;
}

// Copies the decoded pixels (blue, green, red, alpha; straight alpha) into a premultiplied
// bitmap, as GdiAlphaBlend wants it.
HBITMAP premultipliedBitmap(const Gdiplus::BitmapData& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(pixels.Width);
    info.bmiHeader.biHeight = -static_cast<LONG>(pixels.Height);  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (UINT row = 0; row < pixels.Height; ++row) {
        const auto* in = static_cast<const std::uint8_t*>(pixels.Scan0) + row * pixels.Stride;
        for (UINT i = 0; i < pixels.Width * 4; i += 4, out += 4) {
            const unsigned alpha = in[i + 3];
            out[0] = static_cast<std::uint8_t>(in[i + 0] * alpha / 255);
            out[1] = static_cast<std::uint8_t>(in[i + 1] * alpha / 255);
            out[2] = static_cast<std::uint8_t>(in[i + 2] * alpha / 255);
            out[3] = static_cast<std::uint8_t>(alpha);
        }
    }
    return bitmap;
}

HBITMAP makeBitmap(HINSTANCE instance, const GdiPlus& gdiPlus, const PictureResource& picture) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(picture.resource), RT_RCDATA);
    if (found == nullptr) return nullptr;
    const void* png = LockResource(LoadResource(instance, found));
    if (png == nullptr) return nullptr;
    ComPtr<IStream> stream = streamOf(png, SizeofResource(instance, found));
    Gdiplus::GpBitmap* decoded = nullptr;
    if (!stream.get() || gdiPlus.bitmapFromStream(stream.get(), &decoded) != Gdiplus::Ok) {
        return nullptr;
    }
    HBITMAP bitmap = nullptr;
    UINT width = 0;
    UINT height = 0;
    gdiPlus.imageWidth(decoded, &width);
    gdiPlus.imageHeight(decoded, &height);
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData pixels{};
    if (width == static_cast<UINT>(picture.width) && height == static_cast<UINT>(picture.height) &&
        gdiPlus.lockBits(decoded, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                         &pixels) == Gdiplus::Ok) {
        bitmap = premultipliedBitmap(pixels);
        gdiPlus.unlockBits(decoded, &pixels);
    }
    gdiPlus.disposeImage(decoded);
    return bitmap;
}

}  // namespace

HBITMAP PictureStore::bitmap(platform::PictureId picture) const {
    if (auto made = bitmaps_.find(picture); made != bitmaps_.end()) return made->second.get();
    const PictureResource* wanted = resourceOf(picture);
    if (wanted == nullptr) return nullptr;
    {
        GdiPlus gdiPlus;
        for (const auto& resource : kPictures) {
            if (resource.group != wanted->group || bitmaps_.count(resource.id) != 0) continue;
            bitmaps_[resource.id] =
                UniqueBitmap(gdiPlus.ok() ? makeBitmap(instance_, gdiPlus, resource) : nullptr);
        }
    }
    // The image decoders GDI+ brought in are not needed any more either.
    CoFreeUnusedLibrariesEx(0, 0);
    return bitmaps_[picture].get();
}

SIZE PictureStore::size(platform::PictureId picture) const {
    const PictureResource* resource = resourceOf(picture);
    return resource == nullptr ? SIZE{0, 0} : SIZE{resource->width, resource->height};
}

void PictureStore::draw(HDC dc, platform::PictureId picture, const RECT& target) const {
    HBITMAP pixels = bitmap(picture);
    if (pixels == nullptr) return;
    const SIZE extent = size(picture);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, pixels);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetStretchBltMode(dc, HALFTONE);
    GdiAlphaBlend(dc, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, source, 0, 0, extent.cx, extent.cy, blend);
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace qmx::win32
