#pragma once

#include <cstdint>

#include "platform/system.h"
#include "platform/window_placement.h"

namespace qmx::controller {

// The calls that give the controller its look and place: layered opacity, the desktop's work
// area and the drop shadow of a window class. None keeps state or checks a result.
class WindowStyling {
public:
    WindowStyling(platform::WindowPlacement& placement, platform::System& system);

    // Makes `window` layered (WS_EX_LAYERED joins its other extended styles, so a tool window
    // stays out of Alt+Tab) with the given opacity out of 255. Fails with an overflow for an
    // opacity outside 0..255.
    void setTransparency(platform::WindowId window, const std::int16_t& opacity);
    void GetWorkAreaRight(std::int32_t& right);
    void GetWorkAreaBottom(std::int32_t& bottom);
    // Adds the drop shadow to the class of `window`; nothing takes it away again.
    void setClassShadow(const platform::WindowId& window);

private:
    platform::Rect workArea();

    platform::WindowPlacement& placement_;
    platform::System& system_;
};

}  // namespace qmx::controller
