#include "ui/window_placement.h"

#include <algorithm>

namespace qmx::ui {

namespace {
// One axis: the start moved the least so that [start, start + length) lies in the area.
int keptOnAxis(int start, int length, int areaStart, int areaLength) {
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}
}  // namespace

int dpiThatFits(const resources::FormDefinition& form, int monitorDpi, PixelSize frame,
                PixelSize workArea) {
    int dpi = monitorDpi;
    for (; dpi > kDefaultDpi; --dpi) {
        const PixelRect client = clientRectAt(form, dpi);
        if (client.width + frame.width <= workArea.width &&
            client.height + frame.height <= workArea.height) {
            break;
        }
    }
    return dpi;
}

PixelRect keptInside(PixelRect wanted, const PixelRect& workArea) {
    wanted.left = keptOnAxis(wanted.left, wanted.width, workArea.left, workArea.width);
    wanted.top = keptOnAxis(wanted.top, wanted.height, workArea.top, workArea.height);
    return wanted;
}

PixelRect centredOn(PixelSize size, const PixelRect& screen, const PixelRect& workArea) {
    return keptInside({screen.left + (screen.width - size.width) / 2,
                       screen.top + (screen.height - size.height) / 2, size.width, size.height},
                      workArea);
}

}  // namespace qmx::ui
