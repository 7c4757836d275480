#include "win32/gui/dpi.h"

#include "win32/system/system_library.h"

namespace qmx::win32 {

namespace {
template <typename Function>
Function user32(const char* name) {
    return loadedFunction<Function>(L"user32.dll", name);
}
}  // namespace

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int dpiOf(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpi = user32<GetDpiForWindow>("GetDpiForWindow");
    const UINT dpi = getDpi != nullptr && window != nullptr ? getDpi(window) : 0;
    return dpi != 0 ? static_cast<int>(dpi) : systemDpi();
}

int primaryMonitorDpi() {
    using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static SystemLibrary shcore(L"shcore.dll");
    static const auto getDpi = shcore.function<GetDpiForMonitor>("GetDpiForMonitor");
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT x = 0;
    UINT y = 0;
    HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (getDpi != nullptr && SUCCEEDED(getDpi(primary, kEffectiveDpi, &x, &y)) && y != 0) {
        return static_cast<int>(y);
    }
    return systemDpi();
}

void adjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = user32<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjust == nullptr || !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

int systemMetric(int index, int dpi) {
    using MetricForDpi = int(WINAPI*)(int, UINT);
    static const auto metric = user32<MetricForDpi>("GetSystemMetricsForDpi");
    if (metric != nullptr) return metric(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, systemDpi());
}

POINT physicalCursorPosition() {
    using PhysicalCursor = BOOL(WINAPI*)(POINT*);
    static const auto physical = user32<PhysicalCursor>("GetPhysicalCursorPos");
    POINT at{};
    if (physical == nullptr || !physical(&at)) GetCursorPos(&at);
    return at;
}

}  // namespace qmx::win32
