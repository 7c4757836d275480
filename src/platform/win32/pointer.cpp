#include "platform/win32/pointer.h"

#include <commctrl.h>
#include <windowsx.h>

namespace qmx::win32 {

namespace {
int buttonsHeld(WPARAM wParam) {
    return ((wParam & MK_LBUTTON) ? platform::kLeftButton : 0) |
           ((wParam & MK_RBUTTON) ? platform::kRightButton : 0) |
           ((wParam & MK_MBUTTON) ? platform::kMiddleButton : 0);
}

}  // namespace

bool pointerMessage(HWND element, int controlId, HWND formWindow, UINT message, WPARAM wParam,
                    LPARAM lParam) {
    FormWindow* form = formOf(formWindow);
    if (form == nullptr) return false;
    const bool capture = form->definition->kind != resources::FormKind::HiddenHost;
    const float x = static_cast<float>(GET_X_LPARAM(lParam) * form->twipsX);
    const float y = static_cast<float>(GET_Y_LPARAM(lParam) * form->twipsY);
    int button = 0;
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            button = platform::kLeftButton;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            button = platform::kRightButton;
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            button = platform::kMiddleButton;
            break;
        default:
            break;
    }
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            if (capture) SetCapture(element);
            if (button == platform::kLeftButton) form->suppressClick = false;
            dispatchToForm(formWindow, [&](platform::WindowEvents& e) {
                e.onPointerDown(controlId, button, x, y);
            });
            return true;
        case WM_LBUTTONDBLCLK:
            if (capture) SetCapture(element);
            form->suppressClick = true;
            dispatchToForm(formWindow,
                           [&](platform::WindowEvents& e) { e.onDoubleClick(controlId); });
            return true;
        case WM_MOUSEMOVE:
            dispatchToForm(formWindow, [&](platform::WindowEvents& e) {
                e.onPointerMove(controlId, buttonsHeld(wParam), x, y);
            });
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            RECT bounds;
            GetClientRect(element, &bounds);
            const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            const bool click =
                button == platform::kLeftButton && !form->suppressClick && PtInRect(&bounds, at);
            if (button == platform::kLeftButton) form->suppressClick = false;
            if (buttonsHeld(wParam) == 0 && GetCapture() == element) ReleaseCapture();
            dispatchToForm(formWindow, [&](platform::WindowEvents& e) {
                e.onPointerUp(controlId, button, x, y);
            });
            // The release may have closed the window; then there is nothing to click.
            if (click && IsWindow(formWindow)) {
                dispatchToForm(formWindow,
                               [&](platform::WindowEvents& e) { e.onClick(controlId); });
            }
            return true;
        }
        default:
            return false;
    }
}

LRESULT CALLBACK systemControlSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR) {
    if (message == WM_MOUSEMOVE) {
        pointerMessage(window, GetDlgCtrlID(window), GetParent(window), message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, systemControlSubclass, 0);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace qmx::win32
