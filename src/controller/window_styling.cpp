#include "controller/window_styling.h"

#include "common/runtime_error.h"

namespace qmx::controller {

namespace {
constexpr std::uint32_t kColorKeyPassedAlong = 0xFF;
}

WindowStyling::WindowStyling(platform::WindowPlacement& placement, platform::System& system)
    : placement_(placement), system_(system) {}

void WindowStyling::setTransparency(platform::WindowId window, const std::int16_t& opacity) {
    placement_.setExtendedStyle(window, placement_.extendedStyle(window) | platform::kWsExLayered);
    if (opacity < 0 || opacity > 255) throw RuntimeError("Overflow");
    placement_.setLayeredAttributes(window, kColorKeyPassedAlong,
                                    static_cast<std::uint8_t>(opacity), platform::kLwaAlpha);
}

platform::Rect WindowStyling::workArea() {
    platform::Rect area;
    system_.workArea(area);
    return area;
}

void WindowStyling::GetWorkAreaRight(std::int32_t& right) {
    right = workArea().right;
}

void WindowStyling::GetWorkAreaBottom(std::int32_t& bottom) {
    bottom = workArea().bottom;
}

void WindowStyling::setClassShadow(const platform::WindowId& window) {
    const std::uint32_t style = placement_.classStyle(window);
    placement_.setClassStyle(window, style | platform::kCsDropShadow);
}

}  // namespace qmx::controller
