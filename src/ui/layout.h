#pragma once

#include "resources/form_definition.h"

namespace qmx::ui {

// Where the controls of a form stand in pixels at a screen resolution (dots per inch). Forms are
// designed in twips, 1440 to the inch; a length becomes the nearest whole number of pixels,
// halves going to the even neighbour, so that the look at every resolution is fixed.
inline constexpr int kDefaultDpi = 96;

double twipsPerPixelAt(int dpi);
int pixelsAt(double twips, int dpi);

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// A control at its designed place, or at another place (twips) with its designed size.
PixelRect controlRectAt(const resources::ControlDefinition& control, int dpi);
PixelRect controlRectAt(const resources::ControlDefinition& control, double leftTwips,
                        double topTwips, int dpi);
// The form's client area, at the origin.
PixelRect clientRectAt(const resources::FormDefinition& form, int dpi);

}  // namespace qmx::ui
