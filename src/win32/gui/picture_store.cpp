#include "win32/gui/picture_store.h"

#include <objidl.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "ui/layout.h"
#include "ui/picture_scale.h"
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

    SystemLibrary library_{L"gdiplus.dll", SystemLibrary::Source::SideBySide};
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

// The decoded pixels (blue, green, red, alpha; straight alpha) premultiplied, as GdiAlphaBlend
// wants them, rows from the top.
std::vector<std::uint32_t> premultiplied(const Gdiplus::BitmapData& pixels) {
    std::vector<std::uint32_t> result;
    result.reserve(static_cast<std::size_t>(pixels.Width) * pixels.Height);
    for (UINT row = 0; row < pixels.Height; ++row) {
        const auto* in = static_cast<const std::uint8_t*>(pixels.Scan0) + row * pixels.Stride;
        for (UINT i = 0; i < pixels.Width * 4; i += 4) {
            const std::uint32_t alpha = in[i + 3];
            result.push_back(alpha << 24 | (in[i + 2] * alpha / 255) << 16 |
                             (in[i + 1] * alpha / 255) << 8 | in[i + 0] * alpha / 255);
        }
    }
    return result;
}

HBITMAP bitmapOf(std::span<const std::uint32_t> pixels, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) std::memcpy(bits, pixels.data(), pixels.size_bytes());
    return bitmap;
}

// The picture at `dpi`: its rendering at the scale chosen for that resolution, decoded, and
// resampled to the resolution's size where the scale is another.
HBITMAP makeBitmap(HINSTANCE instance, const GdiPlus& gdiPlus, const PictureResource& picture,
                   int dpi) {
    const ui::PictureSource source = ui::pictureSourceAt(dpi);
    const auto scaleIndex = static_cast<int>(
        std::find(std::begin(ui::kPictureScales), std::end(ui::kPictureScales), source.scale) -
        std::begin(ui::kPictureScales));
    const int resource = picture.resource + scaleIndex * QMX_PICTURE_SCALE_STEP;
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resource), RT_RCDATA);
    if (found == nullptr) return nullptr;
    const void* encoded = LockResource(LoadResource(instance, found));
    if (encoded == nullptr) return nullptr;
    ComPtr<IStream> stream = streamOf(encoded, SizeofResource(instance, found));
    Gdiplus::GpBitmap* decoded = nullptr;
    if (!stream.get() || gdiPlus.bitmapFromStream(stream.get(), &decoded) != Gdiplus::Ok) {
        return nullptr;
    }
    const int renderedDpi = source.scale * ui::kDefaultDpi / 100;
    const int width = ui::pictureSideAt(picture.width, renderedDpi);
    const int height = ui::pictureSideAt(picture.height, renderedDpi);
    std::vector<std::uint32_t> pixels;
    UINT decodedWidth = 0;
    UINT decodedHeight = 0;
    gdiPlus.imageWidth(decoded, &decodedWidth);
    gdiPlus.imageHeight(decoded, &decodedHeight);
    const Gdiplus::GpRect all(0, 0, width, height);
    Gdiplus::BitmapData locked{};
    if (decodedWidth == static_cast<UINT>(width) && decodedHeight == static_cast<UINT>(height) &&
        gdiPlus.lockBits(decoded, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                         &locked) == Gdiplus::Ok) {
        pixels = premultiplied(locked);
        gdiPlus.unlockBits(decoded, &locked);
    }
    gdiPlus.disposeImage(decoded);
    if (pixels.empty()) return nullptr;
    if (!source.resampled) return bitmapOf(pixels, width, height);
    const int newWidth = ui::pictureSideAt(picture.width, dpi);
    const int newHeight = ui::pictureSideAt(picture.height, dpi);
    return bitmapOf(ui::resamplePixels(pixels, width, height, newWidth, newHeight), newWidth,
                    newHeight);
}

}  // namespace

HBITMAP PictureStore::bitmap(platform::PictureId picture, int dpi) const {
    if (auto made = bitmaps_.find({picture, dpi}); made != bitmaps_.end()) {
        return made->second.get();
    }
    const PictureResource* wanted = resourceOf(picture);
    if (wanted == nullptr) return nullptr;
    {
        GdiPlus gdiPlus;
        for (const auto& resource : kPictures) {
            if (resource.group != wanted->group || bitmaps_.count({resource.id, dpi}) != 0) {
                continue;
            }
            bitmaps_[{resource.id, dpi}] = UniqueBitmap(
                gdiPlus.ok() ? makeBitmap(instance_, gdiPlus, resource, dpi) : nullptr);
        }
    }
    // The image decoders GDI+ brought in are not needed any more either.
    CoFreeUnusedLibrariesEx(0, 0);
    return bitmaps_[{picture, dpi}].get();
}

SIZE PictureStore::size(platform::PictureId picture) const {
    const PictureResource* resource = resourceOf(picture);
    return resource == nullptr ? SIZE{0, 0} : SIZE{resource->width, resource->height};
}

void PictureStore::draw(HDC dc, platform::PictureId picture, const RECT& target, int dpi) const {
    HBITMAP pixels = bitmap(picture, dpi);
    if (pixels == nullptr) return;
    BITMAP extent{};
    GetObjectA(pixels, sizeof(extent), &extent);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, pixels);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetStretchBltMode(dc, HALFTONE);
    GdiAlphaBlend(dc, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, source, 0, 0, extent.bmWidth, extent.bmHeight, blend);
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace qmx::win32
