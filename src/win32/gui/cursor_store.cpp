#include "win32/gui/cursor_store.h"

#include "win32/gui/resource_ids.h"

namespace qmx::win32 {

namespace {
constexpr int kSize = 32;
constexpr int kPlaneBytes = kSize * kSize / 8;
constexpr int kHotSpotX = 5;
constexpr int kHotSpotY = 0;

const void* plane(HINSTANCE instance, int id) {
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (found == nullptr || SizeofResource(instance, found) != kPlaneBytes) return nullptr;
    return LockResource(LoadResource(instance, found));
}
}  // namespace

CursorStore::CursorStore(HINSTANCE instance) {
    const void* andPlane = plane(instance, QMX_CURSOR_HAND_AND);
    const void* xorPlane = plane(instance, QMX_CURSOR_HAND_XOR);
    if (andPlane && xorPlane) {
        hand_.reset(CreateCursor(instance, kHotSpotX, kHotSpotY, kSize, kSize, andPlane, xorPlane));
    }
}

}  // namespace qmx::win32
