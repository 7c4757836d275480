#pragma once

#include <windows.h>

namespace qmx::win32 {

// Forms: the tray host, the controller and the dialogs. The form's FormWindow comes with
// WM_NCCREATE and is freed with the window.
LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Pictures and labels: a Unicode window class, so that a label can carry any text.
LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The hidden owner of the program's windows.
LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qmx::win32
