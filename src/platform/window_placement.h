#pragma once

#include <cstdint>

#include "platform/window_events.h"

namespace qmx::platform {

// Where SetWindowPos puts a window in the z-order.
enum class ZOrder : std::intptr_t { TopMost = -1, NoTopMost = -2 };
inline constexpr unsigned kSwpNoSize = 0x1;
inline constexpr unsigned kSwpNoMove = 0x2;
inline constexpr unsigned kSwpNoActivate = 0x10;
inline constexpr unsigned kSwpShowWindow = 0x40;

inline constexpr std::uint32_t kWsExToolWindow = 0x80;
inline constexpr std::uint32_t kWsExLayered = 0x80000;
inline constexpr std::uint32_t kLwaAlpha = 2;
inline constexpr std::uint32_t kCsDropShadow = 0x20000;

// Where a window stands on the screen and how it stands there: its shape, position, place in the
// z-order, whether it is the foreground window, its styles and its opacity.
class WindowPlacement {
public:
    WindowPlacement() = default;
    WindowPlacement(const WindowPlacement&) = delete;
    WindowPlacement& operator=(const WindowPlacement&) = delete;
    virtual ~WindowPlacement() = default;

    // Clips a window (kFormItself) or a control's own window to a rounded rectangle, in pixels.
    // The window owns the region from then on.
    virtual void setRoundRectRegion(WindowId window, int controlId, int left, int top, int right,
                                    int bottom, int ellipseWidth, int ellipseHeight) = 0;
    // Moves the window (screen pixels), places it in the z-order and shows it, as the flags say;
    // without kSwpNoActivate it activates the window.
    virtual void setWindowPos(WindowId window, ZOrder insertAfter, int x, int y, int cx, int cy,
                              unsigned flags) = 0;
    virtual void showWindow(WindowId window) = 0;
    // The window's top-left corner on the screen, in twips, and a move of it.
    virtual void windowPosition(WindowId window, float& leftTwips, float& topTwips) = 0;
    virtual void moveWindow(WindowId window, float leftTwips, float topTwips) = 0;
    virtual bool setForegroundWindow(WindowId window) = 0;
    // Whether the window is the one the user works in now.
    virtual bool isForegroundWindow(WindowId window) = 0;
    virtual std::uint32_t extendedStyle(WindowId window) = 0;
    // Replaces the extended style; returns the previous one.
    virtual std::uint32_t setExtendedStyle(WindowId window, std::uint32_t style) = 0;
    virtual void setLayeredAttributes(WindowId window, std::uint32_t colorKey, std::uint8_t alpha,
                                      std::uint32_t flags) = 0;
    virtual std::uint32_t classStyle(WindowId window) = 0;
    virtual void setClassStyle(WindowId window, std::uint32_t style) = 0;
};

}  // namespace qmx::platform
