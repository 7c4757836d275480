#include "win32/gui/form_layout.h"

#include "ui/layout.h"
#include "ui/window_placement.h"
#include "win32/gui/dpi.h"
#include "win32/gui/painting.h"

namespace qmx::win32 {

namespace {
bool hasSystemFont(const resources::ControlDefinition& design) {
    using K = resources::ControlKind;
    return design.kind == K::CheckBox || design.kind == K::CommandButton ||
           design.kind == K::TextBox || design.kind == K::ListBox || design.kind == K::HotKeyBox;
}

// The desktop's dialog font is made for the system's resolution; elsewhere it grows with it.
void chooseDialogFont(FormWindow& form) {
    form.scaledDialogFont.reset();
    form.dialogFont = form.systemDialogFont;
    const int system = systemDpi();
    LOGFONTA font{};
    if (form.dpi == system || form.systemDialogFont == nullptr ||
        GetObjectA(form.systemDialogFont, sizeof(font), &font) == 0) {
        return;
    }
    font.lfHeight = MulDiv(font.lfHeight, form.dpi, system);
    form.scaledDialogFont.reset(CreateFontIndirectA(&font));
    if (form.scaledDialogFont) form.dialogFont = form.scaledDialogFont.get();
}
}  // namespace

void setFormDpi(FormWindow& form, int dpi) {
    form.dpi = dpi;
    chooseDialogFont(form);
}

namespace {
ui::PixelRect pixelRectOf(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The monitor that holds most of `rect` (the nearest one when none does): its whole screen and
// its work area (the screen less the taskbar and other docked bars).
struct MonitorAreas {
    ui::PixelRect screen;
    ui::PixelRect work;
};
MonitorAreas monitorFor(const RECT& rect) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
        return {pixelRectOf(info.rcMonitor), pixelRectOf(info.rcWork)};
    }
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
            pixelRectOf(work)};
}

// What the window's caption and borders add to its client area at a resolution.
ui::PixelSize frameAt(HWND window, int dpi) {
    RECT frame{0, 0, 0, 0};
    adjustWindowRect(frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)), dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

RECT rectOf(const ui::PixelRect& r) {
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}
}  // namespace

void fitFormDpi(HWND window, FormWindow& form, int monitorDpi, const RECT& place) {
    const ui::PixelRect area = monitorFor(place).work;
    setFormDpi(form, ui::dpiThatFits(*form.definition, monitorDpi, frameAt(window, monitorDpi),
                                     {area.width, area.height}));
}

void sizeFormWindow(HWND window, const FormWindow& form, int monitorDpi, const POINT* topLeft) {
    const ui::PixelRect client = ui::clientRectAt(*form.definition, form.dpi);
    const ui::PixelSize frame = frameAt(window, monitorDpi);
    const ui::PixelSize size{client.width + frame.width, client.height + frame.height};
    ui::PixelRect place;
    if (topLeft != nullptr) {
        const ui::PixelRect wanted{topLeft->x, topLeft->y, size.width, size.height};
        place = ui::keptInside(wanted, monitorFor(rectOf(wanted)).work);
    } else {
        RECT now{};
        GetWindowRect(window, &now);
        const MonitorAreas monitor = monitorFor(now);
        place = ui::centredOn(size, monitor.screen, monitor.work);
    }
    SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void placeControl(HWND formWindow, FormWindow& form, ControlWindow& control) {
    const ui::PixelRect place =
        ui::controlRectAt(*control.design, control.leftTwips, control.topTwips, form.dpi);
    SetWindowPos(control.window, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    control.font.reset();  // made again for the resolution at the next paint
    if (hasSystemFont(*control.design)) {
        SendMessageA(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(form.dialogFont), FALSE);
    }
    if (control.design->kind == resources::ControlKind::Label) {
        fitLabel(formWindow, form, control);
    }
}

void changeFormDpi(HWND window, FormWindow& form, int dpi, const RECT& suggested) {
    fitFormDpi(window, form, dpi, suggested);
    const POINT topLeft{suggested.left, suggested.top};
    sizeFormWindow(window, form, dpi, &topLeft);
    for (auto& [id, control] : form.controls) placeControl(window, form, control);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

}  // namespace qmx::win32
