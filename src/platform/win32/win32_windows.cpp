#include "platform/win32/win32_windows.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>
#include <map>
#include <string>

#include "resources/form_definition.h"

namespace qmx::win32 {

namespace {

constexpr const char* kHostClass = "QmxTrayHost";
constexpr const char* kFormClass = "QmxForm";

// What a window procedure needs to know about its form; owned by the window and freed when the
// window is destroyed.
struct FormWindow {
    platform::WindowEvents* events;
    const resources::FormDefinition* definition;
    double twipsX;
    double twipsY;
    std::map<int, HWND> controls;
    platform::IconId icon = platform::IconId::None;
};

UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

double screenTwipsPerPixel(int axis) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int toPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

FormWindow* formOf(HWND window) {
    return reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HWND handleOf(platform::WindowId window) { return reinterpret_cast<HWND>(window); }

HWND controlOf(platform::WindowId window, int controlId) {
    FormWindow* form = formOf(handleOf(window));
    if (form == nullptr) return nullptr;
    auto it = form->controls.find(controlId);
    return it == form->controls.end() ? nullptr : it->second;
}

void dispatch(HWND window, FormWindow& form, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::WindowEvents& events = *form.events;
    const float x = static_cast<float>(GET_X_LPARAM(lParam) * form.twipsX);
    const float y = static_cast<float>(GET_Y_LPARAM(lParam) * form.twipsY);
    switch (message) {
        case WM_TIMER:
            events.onTimer(static_cast<int>(wParam));
            break;
        case WM_LBUTTONDOWN:
            events.onPointerDown(platform::kFormItself, platform::kLeftButton, x, y);
            break;
        case WM_RBUTTONDOWN:
            events.onPointerDown(platform::kFormItself, platform::kRightButton, x, y);
            break;
        case WM_MBUTTONDOWN:
            events.onPointerDown(platform::kFormItself, platform::kMiddleButton, x, y);
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) events.onClick(LOWORD(wParam));
            break;
        default:
            if (message == taskbarCreatedMessage()) events.onTaskbarCreated();
            break;
    }
    (void)window;
}

LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    FormWindow* form = formOf(window);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete form;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (form != nullptr && form->events != nullptr) {
        try {
            dispatch(window, *form, message, wParam, lParam);
        } catch (...) {
            // Failures are reported where they happen; whatever is left ends here.
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClass(HINSTANCE instance, const char* name, HBRUSH background, HICON icon) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = formProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
}

struct ChildStyle {
    const char* windowClass;
    DWORD style;
};

ChildStyle childStyleFor(resources::ControlKind kind) {
    using K = resources::ControlKind;
    switch (kind) {
        case K::Label: return {"STATIC", SS_CENTER | SS_NOTIFY};
        case K::CheckBox: return {"BUTTON", BS_CHECKBOX};
        case K::CommandButton: return {"BUTTON", BS_PUSHBUTTON};
        case K::TextBox: return {"EDIT", ES_AUTOHSCROLL};
        case K::ListBox: return {"LISTBOX", 0};
        case K::PictureBox:
        case K::Image: return {"STATIC", SS_NOTIFY};
    }
    return {"STATIC", 0};
}

}  // namespace

Win32Windows::Win32Windows(HINSTANCE instance, const IconStore& icons)
    : instance_(instance), icons_(icons) {
    registerClass(instance, kHostClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                  icons.applicationIcon());
    registerClass(instance, kFormClass, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                  nullptr);
}

Win32Windows::~Win32Windows() {
    UnregisterClassA(kFormClass, instance_);
    UnregisterClassA(kHostClass, instance_);
}

void Win32Windows::initCommonControls() { InitCommonControls(); }

platform::WindowId Win32Windows::createWindow(const resources::FormDefinition& definition,
                                              platform::WindowEvents& events) {
    auto* form = new FormWindow{&events, &definition, screenTwipsPerPixel(LOGPIXELSX),
                                screenTwipsPerPixel(LOGPIXELSY), {}};
    const bool host = definition.kind == resources::FormKind::HiddenHost;
    const int width = toPixels(definition.clientWidth, form->twipsX);
    const int height = toPixels(definition.clientHeight, form->twipsY);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, host ? kHostClass : kFormClass,
                                  definition.caption, WS_POPUP | WS_CLIPCHILDREN, 0, 0, width,
                                  height, nullptr, nullptr, instance_, form);
    if (window == nullptr) {
        delete form;
        return platform::kNoWindow;
    }
    for (const auto& control : definition.controls) {
        const ChildStyle style = childStyleFor(control.kind);
        const char* text = control.caption[0] != '\0' ? control.caption : control.tooltip;
        HWND child = CreateWindowExA(
            0, style.windowClass, text, WS_CHILD | style.style | (control.visible ? WS_VISIBLE : 0),
            toPixels(control.left, form->twipsX), toPixels(control.top, form->twipsY),
            toPixels(control.width, form->twipsX), toPixels(control.height, form->twipsY),
            window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance_,
            nullptr);
        form->controls[control.id] = child;
    }
    return reinterpret_cast<platform::WindowId>(window);
}

void Win32Windows::destroyWindow(platform::WindowId window) { DestroyWindow(handleOf(window)); }

void Win32Windows::setWindowIcon(platform::WindowId window, platform::IconId icon) {
    FormWindow* form = formOf(handleOf(window));
    if (form == nullptr || form->icon == icon) return;
    form->icon = icon;
    SendMessageA(handleOf(window), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(icons_.small(icon)));
    SendMessageA(handleOf(window), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(icons_.large(icon)));
}

void Win32Windows::setControlText(platform::WindowId window, int controlId,
                                  std::string_view text) {
    if (HWND control = controlOf(window, controlId)) {
        SetWindowTextA(control, std::string(text).c_str());
    }
}

void Win32Windows::setControlValue(platform::WindowId window, int controlId, int value) {
    if (HWND control = controlOf(window, controlId)) {
        SendMessageA(control, BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void Win32Windows::moveControl(platform::WindowId window, int controlId, float leftTwips,
                               float topTwips) {
    FormWindow* form = formOf(handleOf(window));
    HWND control = controlOf(window, controlId);
    if (form == nullptr || control == nullptr) return;
    SetWindowPos(control, nullptr, toPixels(leftTwips, form->twipsX),
                 toPixels(topTwips, form->twipsY), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Windows::setTimer(platform::WindowId window, int timerId, unsigned intervalMs) {
    SetTimer(handleOf(window), static_cast<UINT_PTR>(timerId), intervalMs, nullptr);
}

void Win32Windows::killTimer(platform::WindowId window, int timerId) {
    KillTimer(handleOf(window), static_cast<UINT_PTR>(timerId));
}

int Win32Windows::messageBox(std::string_view text, std::string_view caption, unsigned flags) {
    return MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(), flags);
}

}  // namespace qmx::win32
