// The program's input beyond the pointer on its own windows: the controller's keys and wheel,
// the pointer watched anywhere (for the wheel over the tray icon), and what screen readers hear.
#include <windowsx.h>

#include "win32/gui/dpi.h"
#include "win32/gui/form_window.h"
#include "win32/gui/win32_windows.h"

namespace qmx::win32 {

bool Win32Windows::watchPointer(platform::WindowId window, bool watch) {
    RAWINPUTDEVICE mouse{};
    mouse.usUsagePage = 0x01;  // generic desktop controls
    mouse.usUsage = 0x02;      // mouse
    mouse.dwFlags = watch ? RIDEV_INPUTSINK : RIDEV_REMOVE;
    mouse.hwndTarget = watch ? handleOf(window) : nullptr;
    return RegisterRawInputDevices(&mouse, 1, sizeof(mouse)) != FALSE;
}

unsigned Win32Windows::doubleClickTime() {
    return GetDoubleClickTime();
}

std::uint32_t Win32Windows::tickCount() {
    return GetTickCount();
}

void Win32Windows::announceSlider(platform::WindowId window, int controlId, std::string_view name,
                                  std::string_view value) {
    if (ControlWindow* control = controlOf(window, controlId)) {
        accessibility_.announceSlider(control->window, name, value);
    }
}

void Win32Windows::focusControl(platform::WindowId window, int controlId) {
    if (ControlWindow* control = controlOf(window, controlId)) SetFocus(control->window);
}

void Win32Windows::nameControl(platform::WindowId window, int controlId, std::string_view name) {
    if (ControlWindow* control = controlOf(window, controlId)) {
        accessibility_.name(control->window, name);
    }
}

namespace {
struct KeyName {
    WPARAM virtualKey;
    platform::Key key;
};
constexpr KeyName kControllerKeys[] = {
    {VK_UP, platform::Key::Up},         {VK_DOWN, platform::Key::Down},
    {VK_LEFT, platform::Key::Left},     {VK_RIGHT, platform::Key::Right},
    {VK_PRIOR, platform::Key::PageUp},  {VK_NEXT, platform::Key::PageDown},
    {VK_HOME, platform::Key::Home},     {VK_END, platform::Key::End},
    {VK_SPACE, platform::Key::Space},   {'M', platform::Key::M},
    {VK_ESCAPE, platform::Key::Escape},
};

platform::Key keyOf(WPARAM virtualKey) {
    for (const auto& [code, key] : kControllerKeys) {
        if (code == virtualKey) return key;
    }
    return platform::Key::Other;
}
}  // namespace

bool Win32Windows::preTranslate(const MSG& message) {
    const UINT kind = message.message;
    if (kind != WM_KEYDOWN && kind != WM_KEYUP && kind != WM_CHAR && kind != WM_MOUSEWHEEL) {
        return false;
    }
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root == nullptr || GetClassLongPtrA(root, GCW_ATOM) != controllerClass_) return false;
    if (kind == WM_MOUSEWHEEL) {
        const int delta = GET_WHEEL_DELTA_WPARAM(message.wParam);
        // In the tray icon's coordinates (see onPointerWatched), not the message's.
        const POINT at = physicalCursorPosition();
        dispatchToForm(root, [=](platform::WindowEvents& e) { e.onWheel(delta, at.x, at.y); });
        return true;
    }
    if (kind == WM_CHAR) {
        return message.wParam == ' ' || message.wParam == 'm' || message.wParam == 'M';
    }
    if (message.wParam == VK_TAB) {
        if (kind == WM_KEYDOWN) {
            const bool back = GetKeyState(VK_SHIFT) < 0;
            HWND next = GetNextDlgTabItem(root, GetFocus(), back);
            if (next != nullptr) SetFocus(next);
            showFocusCues(root);  // work with the keyboard shows where the focus is
        }
        return true;
    }
    const platform::Key key = keyOf(message.wParam);
    if (key == platform::Key::Other) return false;
    if (kind == WM_KEYDOWN) {
        if (key != platform::Key::Escape) showFocusCues(root);
        const bool repeated = (message.lParam & (1 << 30)) != 0;  // the key was down already
        dispatchToForm(root,
                       [key, repeated](platform::WindowEvents& e) { e.onKey(key, repeated); });
    }
    return true;
}

}  // namespace qmx::win32
