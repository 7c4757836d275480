#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "platform/window_events.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

// The program's pictures as premultiplied 32-bit bitmaps at a resolution, made from the resources
// when a window at that resolution first draws one: the controller's pictures together, the
// About box's together, each from its rendering for that resolution (or the nearest larger one,
// resampled smoothly). A program that only shows its tray icon holds none of them.
class PictureStore {
public:
    explicit PictureStore(HINSTANCE instance) : instance_(instance) {}

    // Draws a picture made for `dpi` stretched into the rectangle; pictures with transparent
    // parts blend.
    void draw(HDC dc, platform::PictureId picture, const RECT& target, int dpi) const;
    // The picture's size at 96 DPI.
    SIZE size(platform::PictureId picture) const;

private:
    HBITMAP bitmap(platform::PictureId picture, int dpi) const;

    HINSTANCE instance_;
    // Made on first use at each resolution; a picture that could not be made stays empty and is
    // not tried again.
    mutable std::map<std::pair<platform::PictureId, int>, UniqueBitmap> bitmaps_;
};

}  // namespace qmx::win32
