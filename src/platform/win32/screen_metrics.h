#pragma once

#include <windows.h>

namespace qmx::win32 {

// Twips per pixel of the screen along one axis (LOGPIXELSX or LOGPIXELSY): 1440 / DPI.
inline double screenTwipsPerPixel(int axis) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

}  // namespace qmx::win32
