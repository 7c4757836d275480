#pragma once

#include "win32/gui/form_window.h"

namespace qmx::win32 {

// Turns the mouse messages of a form or of one of its controls (`element`) into pointer events:
// press, move, release, click (a left press and release on the element) and double click. The
// element that got the press captures the pointer until the last button is released. False for
// other messages.
bool pointerMessage(HWND element, int controlId, HWND formWindow, UINT message, WPARAM wParam,
                    LPARAM lParam);
// Subclass procedure that lets controls of the system's own classes report pointer moves.
LRESULT CALLBACK systemControlSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR);

}  // namespace qmx::win32
