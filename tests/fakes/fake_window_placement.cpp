#include "fakes/fake_window_placement.h"

namespace qmx::fakes {

void FakeWindowPlacement::setWindowPos(platform::WindowId window, platform::ZOrder insertAfter,
                                       int x, int y, int, int, unsigned flags) {
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

}  // namespace qmx::fakes
