#include "win32/gui/form_window.h"

namespace qmx::win32 {

UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

FormWindow* formOf(HWND window) {
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

int controlIdOf(HWND child) {
    return GetDlgCtrlID(child) - kChildIdBase;
}

int childIdFor(int controlId) {
    return controlId + kChildIdBase;
}

HWND handleOf(platform::WindowId window) {
    return reinterpret_cast<HWND>(window);
}

ControlWindow* controlOf(platform::WindowId window, int controlId) {
    FormWindow* form = formOf(handleOf(window));
    if (form == nullptr) return nullptr;
    auto it = form->controls.find(controlId);
    return it == form->controls.end() ? nullptr : &it->second;
}

bool showsFocus(HWND control) {
    const FormWindow* form = formOf(GetParent(control));
    if (GetFocus() != control || form == nullptr) return false;
    // The dialog manager keeps a dialog's cues; the program keeps the controller's.
    if (form->definition->kind == resources::FormKind::ToolDialog) {
        return (SendMessageA(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
    }
    return form->focusCues;
}

void showFocusCues(HWND formWindow) {
    FormWindow* form = formOf(formWindow);
    if (form == nullptr || form->focusCues) return;
    form->focusCues = true;
    SendMessageA(formWindow, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (HWND focus = GetFocus(); focus != nullptr && IsChild(formWindow, focus)) {
        InvalidateRect(focus, nullptr, FALSE);
    }
}

void tellAccessibility(HWND control, UINT message) {
    FormWindow* form = formOf(GetParent(control));
    if (form == nullptr || form->accessibility == nullptr) return;
    if (message == WM_GETOBJECT) form->accessibility->clientAsked(control);
    if (message == WM_NCDESTROY) form->accessibility->forget(control);
}

void dispatchToForm(HWND window, const std::function<void(platform::WindowEvents&)>& event) {
    FormWindow* form = formOf(window);
    if (form == nullptr || form->events == nullptr) return;
    try {
        event(*form->events);
    } catch (...) {
        // Failures are reported where they happen; whatever is left ends here.
    }
}

}  // namespace qmx::win32
