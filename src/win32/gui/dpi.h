#pragma once

#include <windows.h>

namespace qmx::win32 {

// The resolution functions of Windows 10 (1607 and 1703 on), looked up at run time so that the
// program still starts on older systems, where everything stands at the system's resolution.

// The resolution (dots per inch) of the primary monitor when the user signed in.
int systemDpi();
// The resolution a window is laid out at: its monitor's.
int dpiOf(HWND window);
// The primary monitor's resolution now (the notification area's), which may differ from the one
// at sign-in once the user changed the scale (Windows 8.1 on).
int primaryMonitorDpi();
// AdjustWindowRectEx at a resolution.
void adjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// A system metric (SM_CXSMICON, ...) at a resolution.
int systemMetric(int index, int dpi);
// The pointer in physical pixels, the coordinates the shell gives a tray icon's place in.
POINT physicalCursorPosition();

}  // namespace qmx::win32
