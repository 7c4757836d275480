// The window operations: a form's and its controls' texts, values, pictures, places, styles and
// timers, and message boxes.
#include "win32/gui/win32_windows.h"

#include <commctrl.h>

#include "resources/form_definition.h"
#include "ui/layout.h"
#include "ui/timer_tolerance.h"
#include "win32/gui/dpi.h"
#include "win32/gui/form_window.h"
#include "win32/gui/painting.h"
#include "win32/system/system_library.h"
#include "win32/system/unique_handle.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

int Win32Windows::windowDpi(platform::WindowId window) {
    const FormWindow* form = formOf(handleOf(window));
    return form != nullptr ? form->dpi : dpiOf(handleOf(window));
}

void Win32Windows::setWindowIcon(platform::WindowId window, platform::IconId icon) {
    FormWindow* form = formOf(handleOf(window));
    if (form == nullptr || form->icon == icon) return;
    form->icon = icon;
    SendMessageA(handleOf(window), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(icons_.small(icon, form->dpi)));
    SendMessageA(handleOf(window), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(icons_.large(icon, form->dpi)));
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
    ControlWindow* control = controlOf(window, controlId);
    if (control == nullptr) return;
    if (control->design->kind == resources::ControlKind::HotKeyBox) {
        SendMessageA(control->window, HKM_SETHOTKEY, static_cast<WPARAM>(value & 0xFFFF), 0);
    } else {
        SendMessageA(control->window, BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

int Win32Windows::controlValue(platform::WindowId window, int controlId) {
    ControlWindow* control = controlOf(window, controlId);
    if (control == nullptr) return 0;
    if (control->design->kind == resources::ControlKind::HotKeyBox) {
        return LOWORD(SendMessageA(control->window, HKM_GETHOTKEY, 0, 0));
    }
    return SendMessageA(control->window, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Windows::moveControl(platform::WindowId window, int controlId, float leftTwips,
                               float topTwips) {
    FormWindow* form = formOf(handleOf(window));
    ControlWindow* control = controlOf(window, controlId);
    if (form == nullptr || control == nullptr) return;
    if (control->design->kind != resources::ControlKind::Label) control->leftTwips = leftTwips;
    control->topTwips = topTwips;
    POINT wanted{ui::pixelsAt(leftTwips, form->dpi), ui::pixelsAt(topTwips, form->dpi)};
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

// A press with the pointer (or BM_CLICK) would also give the button the focus, and screen readers
// would speak the button instead of the control the program puts the focus on.
void Win32Windows::clickButton(platform::WindowId window, int controlId) {
    ControlWindow* control = controlOf(window, controlId);
    if (control == nullptr) return;
    HWND form = handleOf(window);
    SetForegroundWindow(form);
    if (GetActiveWindow() != form) SetActiveWindow(form);
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(childIdFor(controlId), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control->window));
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

// The flags go to SetWindowPos as they are: without SWP_NOACTIVATE it activates the window.
void Win32Windows::setWindowPos(platform::WindowId window, platform::ZOrder insertAfter, int x,
                                int y, int cx, int cy, unsigned flags) {
    static_assert(platform::kSwpNoSize == SWP_NOSIZE && platform::kSwpNoMove == SWP_NOMOVE &&
                  platform::kSwpNoActivate == SWP_NOACTIVATE &&
                  platform::kSwpShowWindow == SWP_SHOWWINDOW);
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
    const double twipsPerPixel = ui::twipsPerPixelAt(form ? form->dpi : ui::kDefaultDpi);
    leftTwips = static_cast<float>(rect.left * twipsPerPixel);
    topTwips = static_cast<float>(rect.top * twipsPerPixel);
}

void Win32Windows::moveWindow(platform::WindowId window, float leftTwips, float topTwips) {
    FormWindow* form = formOf(handleOf(window));
    if (form == nullptr) return;
    SetWindowPos(handleOf(window), nullptr, ui::pixelsAt(leftTwips, form->dpi),
                 ui::pixelsAt(topTwips, form->dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32Windows::setForegroundWindow(platform::WindowId window) {
    return SetForegroundWindow(handleOf(window)) != FALSE;
}

bool Win32Windows::isForegroundWindow(platform::WindowId window) {
    return GetForegroundWindow() == handleOf(window);
}

// A refusal that leaves no error code is taken for the usual one: the combination is taken.
std::uint32_t Win32Windows::registerHotKey(platform::WindowId window, int id, unsigned modifiers,
                                           unsigned virtualKey) {
    if (RegisterHotKey(handleOf(window), id, modifiers, virtualKey)) return 0;
    const DWORD error = GetLastError();
    return error != 0 ? error : ERROR_HOTKEY_ALREADY_REGISTERED;
}

void Win32Windows::unregisterHotKey(platform::WindowId window, int id) {
    UnregisterHotKey(handleOf(window), id);
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

// Coalescable from Windows 8 on, looked up at run time; SetTimer before, or should it refuse.
void Win32Windows::setTimer(platform::WindowId window, int timerId, unsigned intervalMs) {
    using SetCoalescable = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);
    static const auto setCoalescable =
        loadedFunction<SetCoalescable>(L"user32.dll", "SetCoalescableTimer");
    const auto id = static_cast<UINT_PTR>(timerId);
    if (setCoalescable != nullptr && setCoalescable(handleOf(window), id, intervalMs, nullptr,
                                                    ui::timerToleranceMs(intervalMs)) != 0) {
        return;
    }
    SetTimer(handleOf(window), id, intervalMs, nullptr);
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
