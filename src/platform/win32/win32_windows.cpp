#include "platform/win32/win32_windows.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "platform/win32/form_window.h"
#include "platform/win32/painting.h"
#include "platform/win32/pointer.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide_text.h"
#include "resources/form_definition.h"

namespace qmx::win32 {

namespace {

constexpr const char* kHostClass = "QmxTrayHost";
constexpr const char* kControllerClass = "QmxController";
constexpr const char* kPictureClass = "QmxPicture";
constexpr const char* kOwnerClass = "QmxOwner";
constexpr const char* kDialogClass = "QmxDialog";

// Pictures and labels: a Unicode window class, so that a label can carry any text.
LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintControl(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_GETOBJECT:
        case WM_NCDESTROY:
            if (FormWindow* form = formOf(GetParent(window)); form && form->accessibility) {
                if (message == WM_GETOBJECT) {
                    form->accessibility->clientAsked(window);
                } else {
                    form->accessibility->forget(window);
                }
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, FALSE);
            return result;
        }
        default:
            if (pointerMessage(window, controlIdOf(window), GetParent(window), message, wParam,
                               lParam)) {
                return 0;
            }
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool isDialog(const FormWindow& form) {
    return form.definition->kind == resources::FormKind::ToolDialog;
}

// The hidden owner of the program's windows lives as long as the window system: a close
// request (WM_CLOSE from another program) must not destroy it and every window it owns.
LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT formMessage(HWND window, FormWindow& form, UINT message, WPARAM wParam, LPARAM lParam,
                    bool& handled) {
    handled = true;
    auto send = [&](const std::function<void(platform::WindowEvents&)>& event) {
        dispatchToForm(window, event);
    };
    switch (message) {
        case WM_TIMER:
            send([&](platform::WindowEvents& e) { e.onTimer(static_cast<int>(wParam)); });
            return 0;
        case WM_SETCURSOR: {
            HWND under = reinterpret_cast<HWND>(wParam);
            if (LOWORD(lParam) == HTCLIENT && under != window) {
                auto it = form.controls.find(controlIdOf(under));
                if (it != form.controls.end() && it->second.design->handPointer) {
                    SetCursor(form.cursors->hand());
                    return TRUE;
                }
            }
            break;
        }
        case WM_COMMAND:
            // Esc in a dialog; Enter reaches the default button through DM_GETDEFID.
            if (LOWORD(wParam) == IDCANCEL && isDialog(form)) {
                send([](platform::WindowEvents& e) { e.onClose(); });
            } else if (HIWORD(wParam) == BN_CLICKED && lParam != 0 &&
                       GetParent(reinterpret_cast<HWND>(lParam)) == window) {
                const int id = controlIdOf(reinterpret_cast<HWND>(lParam));
                send([id](platform::WindowEvents& e) { e.onClick(id); });
            }
            return 0;
        case DM_GETDEFID:
            if (form.definition->defaultButton == 0) return 0;
            return MAKELRESULT(childIdFor(form.definition->defaultButton), DC_HASDEFID);
        case WM_ACTIVATE:
            if (isDialog(form) && LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window, focus)) form.savedFocus = focus;
            }
            break;
        case WM_SETFOCUS:
            // As a dialog does: the focus goes on to the control that had it, or the first one.
            if (isDialog(form)) {
                HWND target = form.savedFocus != nullptr && IsWindow(form.savedFocus)
                                  ? form.savedFocus
                                  : GetNextDlgTabItem(window, nullptr, FALSE);
                if (target != nullptr) SetFocus(target);
                return 0;
            }
            break;
        case WM_INPUT: {
            // The pointer watched anywhere on the screen (see watchPointer).
            RAWINPUT input{};
            UINT size = sizeof(input);
            if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size,
                                sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
                input.header.dwType == RIM_TYPEMOUSE) {
                const int delta = (input.data.mouse.usButtonFlags & RI_MOUSE_WHEEL)
                                      ? static_cast<SHORT>(input.data.mouse.usButtonData)
                                      : 0;
                POINT at{};
                GetCursorPos(&at);
                send([&](platform::WindowEvents& e) { e.onPointerWatched(at.x, at.y, delta); });
            }
            break;  // DefWindowProc cleans up after the input
        }
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != FALSE) send([](platform::WindowEvents& e) { e.onSessionEnding(); });
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            paintFormBackground(window, form, dc, {0, 0});
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_CLOSE:
            send([](platform::WindowEvents& e) { e.onClose(); });
            return 0;
        case MM_MCINOTIFY:
            send([&](platform::WindowEvents& e) {
                e.onMultimediaNotify(static_cast<int>(wParam), static_cast<std::uint32_t>(lParam));
            });
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            const int id = controlIdOf(reinterpret_cast<HWND>(lParam));
            auto it = form.controls.find(id);
            if (it != form.controls.end() && it->second.backBrush) {
                SetBkColor(reinterpret_cast<HDC>(wParam), it->second.backColor);
                return reinterpret_cast<LRESULT>(it->second.backBrush.get());
            }
            if (it != form.controls.end() && form.definition->backColor != kSystemColor) {
                it->second.backColor = form.definition->backColor;
                it->second.backBrush.reset(CreateSolidBrush(form.definition->backColor));
                SetBkColor(reinterpret_cast<HDC>(wParam), form.definition->backColor);
                return reinterpret_cast<LRESULT>(it->second.backBrush.get());
            }
            break;
        }
        default:
            if (message == taskbarCreatedMessage()) {
                send([](platform::WindowEvents& e) { e.onTaskbarCreated(); });
                return 0;
            }
            break;
    }
    handled = false;
    return 0;
}

LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (pointerMessage(window, platform::kFormItself, window, message, wParam, lParam)) return 0;
    FormWindow* form = formOf(window);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete form;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (form != nullptr) {
        bool handled = false;
        const LRESULT result = formMessage(window, *form, message, wParam, lParam, handled);
        if (handled) return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

ATOM registerClass(HINSTANCE instance, const char* name, WNDPROC procedure, HBRUSH background,
                   HICON icon, UINT style = 0) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass);
}

ATOM registerUnicodeClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass);
}

struct ChildStyle {
    const char* windowClass;
    DWORD style;
};

ChildStyle childStyleFor(resources::ControlKind kind) {
    using K = resources::ControlKind;
    switch (kind) {
        case K::CheckBox:
            return {"BUTTON", BS_CHECKBOX | WS_TABSTOP};
        case K::CommandButton:
            return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};  // BS_DEFPUSHBUTTON when default
        case K::TextBox:
            return {"EDIT", ES_AUTOHSCROLL};
        case K::ListBox:
            return {"LISTBOX", 0};
        case K::Label:
        case K::PictureBox:
        case K::Image:
            return {kPictureClass, 0};
    }
    return {kPictureClass, 0};
}

// An elevated copy would not hear "TaskbarCreated" from the unelevated shell (User Interface
// Privilege Isolation) and so lose its icon when Explorer restarts. The filter call exists from
// Windows 7 on; looked up at run time so that the program still starts on older systems.
void acceptTaskbarCreated(HWND host) {
    using ChangeFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    static const auto changeFilter = reinterpret_cast<ChangeFilter>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilterEx")));
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
    if (changeFilter != nullptr) changeFilter(host, taskbarCreatedMessage(), kAllow, nullptr);
}

// Tooltips of the controls that have one; the tooltip window belongs to the form's window.
void addTooltips(HWND window, FormWindow& form) {
    HWND tooltip = nullptr;
    for (auto& [id, control] : form.controls) {
        if (control.design->tooltip[0] == '\0') continue;
        if (tooltip == nullptr) {
            tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                      nullptr, nullptr);
            if (tooltip == nullptr) return;
        }
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(control.window);
        tool.lpszText = const_cast<char*>(control.design->tooltip);
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace

Win32Windows::Win32Windows(HINSTANCE instance, const IconStore& icons, const PictureStore& pictures,
                           const CursorStore& cursors)
    : instance_(instance), icons_(icons), pictures_(pictures), cursors_(cursors) {
    registerClass(instance, kHostClass, formProcedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                  icons.applicationIcon());
    controllerClass_ =
        registerClass(instance, kControllerClass, formProcedure, nullptr, nullptr, CS_DBLCLKS);
    registerUnicodeClass(instance, L"QmxPicture", controlProcedure, CS_DBLCLKS);
    registerClass(instance, kOwnerClass, ownerProcedure, nullptr, icons.applicationIcon());
    registerClass(instance, kDialogClass, formProcedure, nullptr, nullptr, CS_DBLCLKS);
    owner_ = CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, instance, nullptr);
    // System controls draw in the dialog font of the desktop's current settings.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        dialogFont_.reset(CreateFontIndirectA(&metrics.lfMessageFont));
    }
}

Win32Windows::~Win32Windows() {
    if (owner_) DestroyWindow(owner_);
    for (const char* name :
         {kDialogClass, kOwnerClass, kPictureClass, kControllerClass, kHostClass}) {
        UnregisterClassA(name, instance_);
    }
}

void Win32Windows::initCommonControls() {
    InitCommonControls();
}

platform::WindowId Win32Windows::createWindow(const resources::FormDefinition& definition,
                                              platform::WindowEvents& events) {
    auto* form = new FormWindow;
    form->events = &events;
    form->definition = &definition;
    form->pictures = &pictures_;
    form->cursors = &cursors_;
    form->accessibility = &accessibility_;
    form->dialogFont =
        dialogFont_ ? dialogFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    form->twipsX = screenTwipsPerPixel(LOGPIXELSX);
    form->twipsY = screenTwipsPerPixel(LOGPIXELSY);
    const bool host = definition.kind == resources::FormKind::HiddenHost;
    const bool dialog = definition.kind == resources::FormKind::ToolDialog;
    form->background = definition.picture;
    RECT frame{0, 0, toPixels(definition.clientWidth, form->twipsX),
               toPixels(definition.clientHeight, form->twipsY)};
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_TOOLWINDOW;
    const char* windowClass = host ? kHostClass : kControllerClass;
    if (dialog) {
        // A fixed tool window centred on the screen.
        style |= WS_CAPTION | WS_SYSMENU;
        exStyle |= WS_EX_CONTROLPARENT;
        windowClass = kDialogClass;
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = dialog ? (GetSystemMetrics(SM_CXSCREEN) - width) / 2 : 0;
    const int y = dialog ? (GetSystemMetrics(SM_CYSCREEN) - height) / 2 : 0;
    HWND window = CreateWindowExA(exStyle, windowClass, definition.caption, style, x, y, width,
                                  height, host ? nullptr : owner_, nullptr, instance_, form);
    if (window == nullptr) {
        delete form;
        return platform::kNoWindow;
    }
    for (const auto& design : definition.controls) {
        ChildStyle style = childStyleFor(design.kind);
        if (design.id == definition.defaultButton) style.style |= BS_DEFPUSHBUTTON;
        // Picture-less buttons carry their tooltip as their text, for screen readers.
        const char* text = design.caption[0] != '\0' ? design.caption : design.tooltip;
        HWND child = CreateWindowExA(
            0, style.windowClass, text,
            WS_CHILD | WS_CLIPSIBLINGS | style.style | (design.visible ? WS_VISIBLE : 0),
            toPixels(design.left, form->twipsX), toPixels(design.top, form->twipsY),
            toPixels(design.width, form->twipsX), toPixels(design.height, form->twipsY), window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childIdFor(design.id))), instance_,
            nullptr);
        ControlWindow& control = form->controls[design.id];
        control.window = child;
        control.design = &design;
        control.picture = design.picture;
        control.underline = design.font != nullptr && design.font->underline;
        if (design.kind == resources::ControlKind::Label) fitLabel(window, *form, control);
        if (std::strcmp(style.windowClass, kPictureClass) != 0) {
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(form->dialogFont), FALSE);
        }
        if (design.kind == resources::ControlKind::CheckBox) {
            SetWindowSubclass(child, systemControlSubclass, 0, 0);
        }
    }
    // Controls with a window of their own lie above the pictures and labels, which in turn lie
    // above the form's background; among themselves they keep the designed order, which is
    // also the order Tab goes through them.
    HWND previous = HWND_TOP;
    for (const auto& design : definition.controls) {
        if (design.kind == resources::ControlKind::Image ||
            design.kind == resources::ControlKind::Label) {
            continue;
        }
        HWND child = form->controls[design.id].window;
        SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
    }
    if (host) acceptTaskbarCreated(window);
    if (!host) addTooltips(window, *form);
    return reinterpret_cast<platform::WindowId>(window);
}

void Win32Windows::destroyWindow(platform::WindowId window) {
    DestroyWindow(handleOf(window));
}

void Win32Windows::setWindowIcon(platform::WindowId window, platform::IconId icon) {
    FormWindow* form = formOf(handleOf(window));
    if (form == nullptr || form->icon == icon) return;
    form->icon = icon;
    SendMessageA(handleOf(window), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(icons_.small(icon)));
    SendMessageA(handleOf(window), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(icons_.large(icon)));
}

void Win32Windows::setControlText(platform::WindowId window, int controlId, std::string_view text) {
    ControlWindow* control = controlOf(window, controlId);
    if (control == nullptr) return;
    // The text as far as its first NUL (a product-name field is padded with them).
    SetWindowTextW(control->window, widen(text.substr(0, text.find('\0'))).c_str());
    if (control->design->kind == resources::ControlKind::Label) {
        fitLabel(handleOf(window), *formOf(handleOf(window)), *control);
    }
}

void Win32Windows::setControlValue(platform::WindowId window, int controlId, int value) {
    if (ControlWindow* control = controlOf(window, controlId)) {
        SendMessageA(control->window, BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void Win32Windows::moveControl(platform::WindowId window, int controlId, float leftTwips,
                               float topTwips) {
    FormWindow* form = formOf(handleOf(window));
    ControlWindow* control = controlOf(window, controlId);
    if (form == nullptr || control == nullptr) return;
    POINT wanted{toPixels(leftTwips, form->twipsX), toPixels(topTwips, form->twipsY)};
    RECT now;
    GetWindowRect(control->window, &now);
    MapWindowPoints(nullptr, handleOf(window), reinterpret_cast<POINT*>(&now), 2);
    if (control->design->kind == resources::ControlKind::Label) wanted.x = now.left;
    if (now.left == wanted.x && now.top == wanted.y) return;
    SetWindowPos(control->window, nullptr, wanted.x, wanted.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Windows::setControlVisible(platform::WindowId window, int controlId, bool visible) {
    if (ControlWindow* control = controlOf(window, controlId)) {
        ShowWindow(control->window, visible ? SW_SHOWNA : SW_HIDE);
    }
}

void Win32Windows::setPicture(platform::WindowId window, int controlId,
                              platform::PictureId picture) {
    FormWindow* form = formOf(handleOf(window));
    if (form == nullptr) return;
    if (controlId == platform::kFormItself) {
        if (form->background == picture) return;
        form->background = picture;
        RedrawWindow(handleOf(window), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
        return;
    }
    ControlWindow* control = controlOf(window, controlId);
    if (control == nullptr || control->picture == picture) return;
    control->picture = picture;
    InvalidateRect(control->window, nullptr, FALSE);
}

void Win32Windows::setControlBackColor(platform::WindowId window, int controlId,
                                       std::uint32_t color) {
    ControlWindow* control = controlOf(window, controlId);
    if (control == nullptr) return;
    control->backColor = color;
    control->backBrush.reset(CreateSolidBrush(color));
    InvalidateRect(control->window, nullptr, TRUE);
}

void Win32Windows::setControlUnderline(platform::WindowId window, int controlId, bool underline) {
    ControlWindow* control = controlOf(window, controlId);
    FormWindow* form = formOf(handleOf(window));
    if (control == nullptr || form == nullptr) return;
    fontFor(*control, *form);
    if (control->underline == underline) return;
    control->underline = underline;
    control->font.reset();  // made again, with the new underline, at the next paint
    InvalidateRect(control->window, nullptr, FALSE);
}

void Win32Windows::clickButton(platform::WindowId window, int controlId) {
    if (ControlWindow* control = controlOf(window, controlId)) {
        LPARAM zero = 0;
        SendMessageA(control->window, BM_CLICK, 0, reinterpret_cast<LPARAM>(&zero));
    }
}

void Win32Windows::setRoundRectRegion(platform::WindowId window, int controlId, int left, int top,
                                      int right, int bottom, int ellipseWidth, int ellipseHeight) {
    HWND target = handleOf(window);
    if (controlId != platform::kFormItself) {
        ControlWindow* control = controlOf(window, controlId);
        if (control == nullptr) return;
        target = control->window;
    }
    // GDI leaves the right and bottom edges out of a rounded region; one more pixel each way
    // makes the region cover the whole rectangle asked for.
    UniqueRegion region(
        CreateRoundRectRgn(left, top, right + 1, bottom + 1, ellipseWidth, ellipseHeight));
    if (region && SetWindowRgn(target, region.get(), TRUE)) region.release();
}

void Win32Windows::setWindowPos(platform::WindowId window, platform::ZOrder insertAfter, int x,
                                int y, int cx, int cy, unsigned flags) {
    SetWindowPos(handleOf(window), reinterpret_cast<HWND>(static_cast<INT_PTR>(insertAfter)), x, y,
                 cx, cy, flags);
}

void Win32Windows::showWindow(platform::WindowId window) {
    ShowWindow(handleOf(window), SW_SHOW);
}

void Win32Windows::windowPosition(platform::WindowId window, float& leftTwips, float& topTwips) {
    FormWindow* form = formOf(handleOf(window));
    RECT rect{};
    GetWindowRect(handleOf(window), &rect);
    const double tx = form ? form->twipsX : 15.0;
    const double ty = form ? form->twipsY : 15.0;
    leftTwips = static_cast<float>(rect.left * tx);
    topTwips = static_cast<float>(rect.top * ty);
}

void Win32Windows::moveWindow(platform::WindowId window, float leftTwips, float topTwips) {
    FormWindow* form = formOf(handleOf(window));
    if (form == nullptr) return;
    SetWindowPos(handleOf(window), nullptr, toPixels(leftTwips, form->twipsX),
                 toPixels(topTwips, form->twipsY), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32Windows::setForegroundWindow(platform::WindowId window) {
    return SetForegroundWindow(handleOf(window)) != FALSE;
}

std::uint32_t Win32Windows::extendedStyle(platform::WindowId window) {
    return static_cast<std::uint32_t>(GetWindowLongA(handleOf(window), GWL_EXSTYLE));
}

std::uint32_t Win32Windows::setExtendedStyle(platform::WindowId window, std::uint32_t style) {
    return static_cast<std::uint32_t>(SetWindowLongA(handleOf(window), GWL_EXSTYLE, style));
}

void Win32Windows::setLayeredAttributes(platform::WindowId window, std::uint32_t colorKey,
                                        std::uint8_t alpha, std::uint32_t flags) {
    SetLayeredWindowAttributes(handleOf(window), colorKey, alpha, flags);
}

std::uint32_t Win32Windows::classStyle(platform::WindowId window) {
    return GetClassLongA(handleOf(window), GCL_STYLE);
}

void Win32Windows::setClassStyle(platform::WindowId window, std::uint32_t style) {
    SetClassLongA(handleOf(window), GCL_STYLE, style);
}

void Win32Windows::setTimer(platform::WindowId window, int timerId, unsigned intervalMs) {
    SetTimer(handleOf(window), static_cast<UINT_PTR>(timerId), intervalMs, nullptr);
}

void Win32Windows::killTimer(platform::WindowId window, int timerId) {
    KillTimer(handleOf(window), static_cast<UINT_PTR>(timerId));
}

int Win32Windows::messageBox(platform::WindowId owner, std::string_view text,
                             std::string_view caption, unsigned flags) {
    return MessageBoxA(handleOf(owner), std::string(text).c_str(), std::string(caption).c_str(),
                       flags);
}

}  // namespace qmx::win32
