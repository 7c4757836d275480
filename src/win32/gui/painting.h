#pragma once

#include "win32/gui/form_window.h"

namespace qmx::win32 {

// Paints the form's background (its colour, then its picture) into `dc`, whose origin lies at
// `origin` in the form's client area.
void paintFormBackground(HWND formWindow, const FormWindow& form, HDC dc, POINT origin);
// The control's designed font, made on first use, or the dialog font.
HFONT fontFor(ControlWindow& control, const FormWindow& form);
// A picture, image or label: the form's background under it, its picture, its text.
void paintControl(HWND window);
// A label sizes itself to its text: centred on its designed place, or growing to the right.
void fitLabel(HWND parent, FormWindow& form, ControlWindow& control);

}  // namespace qmx::win32
