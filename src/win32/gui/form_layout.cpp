#include "win32/gui/form_layout.h"

#include "ui/layout.h"
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

void sizeFormWindow(HWND window, const FormWindow& form, const POINT* topLeft) {
    const ui::PixelRect client = ui::clientRectAt(*form.definition, form.dpi);
    RECT frame{0, 0, client.width, client.height};
    adjustWindowRect(frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                     static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)), form.dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    POINT at{(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
             (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
    if (topLeft != nullptr) at = *topLeft;
    SetWindowPos(window, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
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
    setFormDpi(form, dpi);
    const POINT topLeft{suggested.left, suggested.top};
    sizeFormWindow(window, form, &topLeft);
    for (auto& [id, control] : form.controls) placeControl(window, form, control);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

}  // namespace qmx::win32
