#include "win32/gui/cursor_store.h"

#include "ui/picture_scale.h"
#include "win32/gui/resource_ids.h"

namespace qmx::win32 {

namespace {
// The sizes the hand is rendered at (100 to 300 percent of 32 pixels), smallest first; the
// fingertip, its hot spot, lies at (5, 0) of 32.
constexpr int kSizes[] = {32, 40, 48, 56, 64, 80, 96};
constexpr int kDesignSize = 32;
constexpr int kHotSpotX = 5;

const void* plane(HINSTANCE instance, int id, int size) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (found == nullptr ||
        SizeofResource(instance, found) != static_cast<DWORD>(size * size / 8)) {
        return nullptr;
    }
    return LockResource(LoadResource(instance, found));
}

// The rendering of the resolution's own size, else the nearest larger one (a one-bit picture
// cannot be resampled smoothly).
int sizeFor(int dpi) {
    const int wanted = ui::pictureSideAt(kDesignSize, dpi);
    for (int size : kSizes) {
        if (size >= wanted) return size;
    }
    return std::end(kSizes)[-1];
}
}  // namespace

HCURSOR CursorStore::hand(int dpi) const {
    const int size = sizeFor(dpi);
    auto made = hands_.find(size);
    if (made == hands_.end()) {
        const void* andPlane = plane(instance_, QMX_CURSOR_HAND_AND + size, size);
        const void* xorPlane = plane(instance_, QMX_CURSOR_HAND_XOR + size, size);
        HCURSOR cursor = nullptr;
        if (andPlane && xorPlane) {
            cursor = CreateCursor(instance_, kHotSpotX * size / kDesignSize, 0, size, size,
                                  andPlane, xorPlane);
        }
        made = hands_.emplace(size, UniqueCursor(cursor)).first;
    }
    return made->second ? made->second.get() : LoadCursorA(nullptr, IDC_ARROW);
}

}  // namespace qmx::win32
