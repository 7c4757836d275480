#pragma once

#include <windows.h>

#include <map>

#include "platform/win32/unique_handle.h"
#include "platform/window_system.h"

namespace qmx::win32 {

// The program's pictures as premultiplied 32-bit bitmaps, made once from the resources.
class PictureStore {
public:
    explicit PictureStore(HINSTANCE instance);

    // Draws a picture stretched into the rectangle; pictures with transparent parts blend.
    void draw(HDC dc, platform::PictureId picture, const RECT& target) const;
    SIZE size(platform::PictureId picture) const;

private:
    struct Bitmap {
        UniqueBitmap bitmap;
        SIZE size;
    };
    std::map<platform::PictureId, Bitmap> pictures_;
};

}  // namespace qmx::win32
