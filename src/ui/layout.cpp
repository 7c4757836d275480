#include "ui/layout.h"

#include "common/rounding.h"

namespace qmx::ui {

double twipsPerPixelAt(int dpi) {
    return 1440.0 / (dpi > 0 ? dpi : kDefaultDpi);
}

int pixelsAt(double twips, int dpi) {
    return static_cast<int>(roundHalfEven(twips / twipsPerPixelAt(dpi)));
}

PixelRect controlRectAt(const resources::ControlDefinition& control, int dpi) {
    return controlRectAt(control, control.left, control.top, dpi);
}

PixelRect controlRectAt(const resources::ControlDefinition& control, double leftTwips,
                        double topTwips, int dpi) {
    return {pixelsAt(leftTwips, dpi), pixelsAt(topTwips, dpi), pixelsAt(control.width, dpi),
            pixelsAt(control.height, dpi)};
}

PixelRect clientRectAt(const resources::FormDefinition& form, int dpi) {
    return {0, 0, pixelsAt(form.clientWidth, dpi), pixelsAt(form.clientHeight, dpi)};
}

}  // namespace qmx::ui
