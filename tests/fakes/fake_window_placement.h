#pragma once

#include <map>
#include <string>
#include <utility>

#include "fakes/fake_windows.h"
#include "platform/window_placement.h"

namespace qmx::fakes {

// Where the simulated windows stand and how: kept in each FakeWindows::Window (its region, place,
// z-order, styles and opacity) and in the desktop's foreground window; class styles by form name.
class FakeWindowPlacement : public platform::WindowPlacement {
public:
    FakeWindowPlacement(CallLog& log, FakeWindows& windows) : log_(log), windows_(windows) {}

    void setRoundRectRegion(platform::WindowId window, int controlId, int left, int top, int right,
                            int bottom, int ellipseWidth, int ellipseHeight) override {
        at(window).regions[controlId] = {left, top, right, bottom, ellipseWidth, ellipseHeight};
    }
    void setWindowPos(platform::WindowId window, platform::ZOrder insertAfter, int x, int y, int,
                      int, unsigned flags) override {
        FakeWindows::Window& w = at(window);
        log_.add("windows.setWindowPos " + w.name + " " +
                 std::to_string(static_cast<int>(insertAfter)) + " " + std::to_string(flags));
        if (!(flags & platform::kSwpNoMove)) {
            w.x = x;
            w.y = y;
            w.leftTwips = x * 15.0f;
            w.topTwips = y * 15.0f;
        }
        w.topMost = insertAfter == platform::ZOrder::TopMost;
        if (flags & platform::kSwpShowWindow) w.shown = true;
        // Without SWP_NOACTIVATE, SetWindowPos activates the window (its documentation).
        if (w.shown && !(flags & platform::kSwpNoActivate)) windows_.foreground = window;
        if (flags & platform::kSwpShowWindow) windows_.reenter("setWindowPos");
    }
    void showWindow(platform::WindowId window) override {
        at(window).shown = true;
        windows_.reenter("showWindow");
    }
    void windowPosition(platform::WindowId window, float& leftTwips, float& topTwips) override {
        leftTwips = at(window).leftTwips;
        topTwips = at(window).topTwips;
    }
    void moveWindow(platform::WindowId window, float leftTwips, float topTwips) override {
        at(window).leftTwips = leftTwips;
        at(window).topTwips = topTwips;
    }
    bool setForegroundWindow(platform::WindowId window) override {
        windows_.foreground = window;
        return true;
    }
    bool isForegroundWindow(platform::WindowId window) override {
        return windows_.foreground == window;
    }
    std::uint32_t extendedStyle(platform::WindowId window) override {
        return at(window).extendedStyle;
    }
    std::uint32_t setExtendedStyle(platform::WindowId window, std::uint32_t style) override {
        return std::exchange(at(window).extendedStyle, style);
    }
    void setLayeredAttributes(platform::WindowId window, std::uint32_t, std::uint8_t alpha,
                              std::uint32_t flags) override {
        at(window).alpha = alpha;
        at(window).layeredFlags = flags;
    }
    std::uint32_t classStyle(platform::WindowId window) override {
        return classStyles[at(window).name];
    }
    void setClassStyle(platform::WindowId window, std::uint32_t style) override {
        classStyles[at(window).name] = style;
    }

    std::map<std::string, std::uint32_t> classStyles;  // by form name

private:
    FakeWindows::Window& at(platform::WindowId window) { return windows_.windows.at(window); }
    CallLog& log_;
    FakeWindows& windows_;
};

}  // namespace qmx::fakes
