// The window procedures: how the messages of the program's forms, of their picture controls and
// of the hidden owner become the forms' events.
#include "win32/gui/window_procedures.h"

#include <functional>

#include "win32/gui/dpi.h"
#include "win32/gui/form_layout.h"
#include "win32/gui/form_window.h"
#include "win32/gui/menu_theme_follower.h"
#include "win32/gui/painting.h"
#include "win32/gui/pointer.h"

namespace qmx::win32 {

namespace {

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1 on

bool isDialog(const FormWindow& form) {
    return form.definition->kind == resources::FormKind::ToolDialog;
}

// The windows a user works in keep their focused control while they are inactive.
bool isShown(const FormWindow& form) {
    return form.definition->kind != resources::FormKind::HiddenHost;
}

// The hidden host follows the primary monitor's scale, which it hears of only through the
// display's and the taskbar's notices; true when the scale changed.
bool hostTakesPrimaryDpi(FormWindow& form) {
    if (form.definition->kind != resources::FormKind::HiddenHost) return false;
    const int dpi = primaryMonitorDpi();
    if (dpi == form.dpi) return false;
    setFormDpi(form, dpi);
    return true;
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
                    SetCursor(form.cursors->hand(form.dpi));
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
            if (isShown(form) && LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window, focus)) form.savedFocus = focus;
            }
            break;
        case WM_SETFOCUS:
            // As a dialog does: the focus goes on to the control that had it, or the first one.
            if (isShown(form)) {
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
                // Physical pixels, as the shell gives the tray icon's place: the two agree at
                // any scale of any monitor.
                const POINT at = physicalCursorPosition();
                send([&](platform::WindowEvents& e) { e.onPointerWatched(at.x, at.y, delta); });
            }
            break;  // DefWindowProc cleans up after the input
        }
        case kDpiChanged: {
            const int dpi = HIWORD(wParam);
            changeFormDpi(window, form, dpi, *reinterpret_cast<const RECT*>(lParam));
            send([dpi](platform::WindowEvents& e) { e.onDpiChanged(dpi); });
            return 0;
        }
        case WM_DISPLAYCHANGE:
            if (hostTakesPrimaryDpi(form)) {
                send([dpi = form.dpi](platform::WindowEvents& e) { e.onDpiChanged(dpi); });
            }
            break;
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
        case WM_HOTKEY:
            send([&](platform::WindowEvents& e) { e.onHotKey(static_cast<int>(wParam)); });
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
                // Explorer also announces a new taskbar when the primary monitor's scale changed
                // (tailscale/walk#32), and may send no WM_DISPLAYCHANGE for it: the icon is added
                // again in the size for the scale read now.
                hostTakesPrimaryDpi(form);
                send([](platform::WindowEvents& e) { e.onTaskbarCreated(); });
                return 0;
            }
            break;
    }
    handled = false;
    return 0;
}

}  // namespace

LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paintControl(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_GETOBJECT:
        case WM_NCDESTROY:
            tellAccessibility(window, message);
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(window, nullptr, FALSE);  // the focus rectangle
            return DefWindowProcW(window, message, wParam, lParam);
        // A label that takes the focus is a link: Enter opens it as a click does.
        case WM_GETDLGCODE:
            if (lParam != 0 && reinterpret_cast<const MSG*>(lParam)->message == WM_KEYDOWN &&
                reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
                return DLGC_WANTMESSAGE;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                const int id = controlIdOf(window);
                dispatchToForm(GetParent(window),
                               [id](platform::WindowEvents& e) { e.onClick(id); });
                return 0;
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

// The hidden owner of the program's windows lives as long as the window system: a close
// request (WM_CLOSE from another program) must not destroy it and every window it owns. As a
// top-level window it hears the system's setting changes, for the menus' theme.
LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    if (message == WM_CLOSE) return 0;
    if (message == WM_SETTINGCHANGE) {
        auto* menuTheme =
            reinterpret_cast<MenuThemeFollower*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (menuTheme != nullptr) menuTheme->onSettingChange(wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
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

}  // namespace qmx::win32
