#pragma once

#include "win32/gui/form_window.h"

namespace qmx::win32 {

// How a form stands at its resolution (FormWindow::dpi): the window's size, every control's
// place, size and font. Used when the window is made and when it moves to a monitor of another
// scale; the sizes are those of ui/layout, so the look at each resolution is fixed.

// Sets the form's resolution: its twips per pixel and its dialog font.
void setFormDpi(FormWindow& form, int dpi);
// Lays the form out at `monitorDpi`, or at the largest lower resolution at which the window
// fits the work area of the monitor that holds `place`.
void fitFormDpi(HWND window, FormWindow& form, int monitorDpi, const RECT& place);
// Gives the window the size of its client area at its resolution, its top-left corner at
// `topLeft`, or centred in its monitor's work area when there is none; inside that work area
// in either case.
void sizeFormWindow(HWND window, const FormWindow& form, int monitorDpi, const POINT* topLeft);
// Puts a control at its place in twips, in its designed size, with its font.
void placeControl(HWND formWindow, FormWindow& form, ControlWindow& control);
// WM_DPICHANGED: the form is laid out again at `dpi` (or lower, to fit), where Windows suggests.
void changeFormDpi(HWND window, FormWindow& form, int dpi, const RECT& suggested);

}  // namespace qmx::win32
