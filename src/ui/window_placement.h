#pragma once

#include "resources/form_definition.h"
#include "ui/layout.h"

namespace qmx::ui {

// Every window the program places stands inside the work area of its monitor (the monitor less
// the taskbar), its caption and frame included.

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The resolution a form is laid out at on a monitor of `monitorDpi`: the monitor's, or, where
// the window would not fit the work area, the largest lower one at which it does (never below
// 96 DPI). `frame` is what the window's caption and borders add to its client area; the system
// draws them at the monitor's resolution whatever the client area's (Microsoft,
// "EnableNonClientDpiScaling": per-monitor v2 programs' non-client areas scale with the monitor).
int dpiThatFits(const resources::FormDefinition& form, int monitorDpi, PixelSize frame,
                PixelSize workArea);

// The window at `wanted`, moved the least so that it lies inside `workArea`; one larger than the
// work area keeps its top-left corner at the work area's, so that its caption can be reached.
PixelRect keptInside(PixelRect wanted, const PixelRect& workArea);

// A window of `size` centred on its monitor's screen, and kept inside the monitor's work area.
PixelRect centredOn(PixelSize size, const PixelRect& screen, const PixelRect& workArea);

}  // namespace qmx::ui
