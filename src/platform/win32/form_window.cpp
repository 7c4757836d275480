#include "platform/win32/form_window.h"

#include <cmath>

namespace qmx::win32 {

UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

int toPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
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
