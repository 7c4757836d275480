#include "platform/win32/picture_store.h"

#include <cstdint>
#include <cstring>

#include "platform/win32/resource_ids.h"

namespace qmx::win32 {

namespace {

struct PictureResource {
    platform::PictureId id;
    int resource;
    int width;
    int height;
};

constexpr PictureResource kPictures[] = {
    {platform::PictureId::VistaSkin, QMX_PICTURE_VISTA_SKIN, 66, 186},
    {platform::PictureId::ClassicSkin, QMX_PICTURE_CLASSIC_SKIN, 66, 186},
    {platform::PictureId::Knob, QMX_PICTURE_KNOB, 15, 19},
    {platform::PictureId::VistaClose, QMX_PICTURE_VISTA_CLOSE, 25, 26},
    {platform::PictureId::VistaCloseHighlighted, QMX_PICTURE_VISTA_CLOSE_HOT, 25, 26},
    {platform::PictureId::ClassicClose, QMX_PICTURE_CLASSIC_CLOSE, 15, 14},
    {platform::PictureId::AboutBackground, QMX_PICTURE_ABOUT_BACKGROUND, 441, 409},
    {platform::PictureId::AboutLogo, QMX_PICTURE_ABOUT_LOGO, 62, 31},
};

HBITMAP makeBitmap(HINSTANCE instance, const PictureResource& picture) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(picture.resource), RT_RCDATA);
    if (found == nullptr) return nullptr;
    const DWORD bytes = SizeofResource(instance, found);
    const auto* rgba =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, found)));
    if (rgba == nullptr || bytes != static_cast<DWORD>(picture.width * picture.height * 4)) {
        return nullptr;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return nullptr;
    auto* out = static_cast<std::uint8_t*>(bits);
    for (DWORD i = 0; i < bytes; i += 4) {
        const unsigned alpha = rgba[i + 3];
        out[i + 0] = static_cast<std::uint8_t>(rgba[i + 2] * alpha / 255);
        out[i + 1] = static_cast<std::uint8_t>(rgba[i + 1] * alpha / 255);
        out[i + 2] = static_cast<std::uint8_t>(rgba[i + 0] * alpha / 255);
        out[i + 3] = static_cast<std::uint8_t>(alpha);
    }
    return bitmap;
}

}  // namespace

PictureStore::PictureStore(HINSTANCE instance) {
    for (const auto& picture : kPictures) {
        pictures_[picture.id] = {UniqueBitmap(makeBitmap(instance, picture)),
                                 {picture.width, picture.height}};
    }
}

SIZE PictureStore::size(platform::PictureId picture) const {
    auto it = pictures_.find(picture);
    return it == pictures_.end() ? SIZE{0, 0} : it->second.size;
}

void PictureStore::draw(HDC dc, platform::PictureId picture, const RECT& target) const {
    auto it = pictures_.find(picture);
    if (it == pictures_.end() || !it->second.bitmap) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, it->second.bitmap.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetStretchBltMode(dc, HALFTONE);
    AlphaBlend(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
               source, 0, 0, it->second.size.cx, it->second.size.cy, blend);
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace qmx::win32
