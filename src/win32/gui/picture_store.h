#pragma once

#include <windows.h>

#include <map>

#include "platform/window_system.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

// The program's pictures as premultiplied 32-bit bitmaps, made from the resources when a window
// first draws one: the controller's pictures together, the About box's together. A program that
// only shows its tray icon holds none of them.
class PictureStore {
public:
    explicit PictureStore(HINSTANCE instance) : instance_(instance) {}

    // Draws a picture stretched into the rectangle; pictures with transparent parts blend.
    void draw(HDC dc, platform::PictureId picture, const RECT& target) const;
    SIZE size(platform::PictureId picture) const;

private:
    HBITMAP bitmap(platform::PictureId picture) const;

    HINSTANCE instance_;
    // Made on first use; a picture that could not be made stays empty and is not tried again.
    mutable std::map<platform::PictureId, UniqueBitmap> bitmaps_;
};

}  // namespace qmx::win32
