#include "win32/gui/pointer.h"

#include <commctrl.h>
#include <windowsx.h>

#include "ui/layout.h"

namespace qmx::win32 {

namespace {
int buttonsHeld(WPARAM wParam) {
    return ((wParam & MK_LBUTTON) ? platform::kLeftButton : 0) |
           ((wParam & MK_RBUTTON) ? platform::kRightButton : 0) |
           ((wParam & MK_MBUTTON) ? platform::kMiddleButton : 0);
}

// The element lets the pointer go itself: the change of capture that follows is no loss.
void releasePointer(FormWindow& form, HWND element) {
    if (form.captureElement == element) form.captureElement = nullptr;
    if (GetCapture() == element) ReleaseCapture();
}

// Windows also sends pointer moves when nothing moved (the capture changed, a window appeared
// or moved under the pointer); only a change of the pointer's place on the screen is movement.
bool pointerMoved(FormWindow& form, HWND element, LPARAM lParam) {
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(element, &at);
    const bool moved = at.x != form.lastPointer.x || at.y != form.lastPointer.y;
    form.lastPointer = at;
    return moved;
}

}  // namespace

bool pointerMessage(HWND element, int controlId, HWND formWindow, UINT message, WPARAM wParam,
                    LPARAM lParam) {
    FormWindow* form = formOf(formWindow);
    if (form == nullptr) return false;
    const bool capture = form->definition->kind != resources::FormKind::HiddenHost;
    const double twipsPerPixel = ui::twipsPerPixelAt(form->dpi);
    const float x = static_cast<float>(GET_X_LPARAM(lParam) * twipsPerPixel);
    const float y = static_cast<float>(GET_Y_LPARAM(lParam) * twipsPerPixel);
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
    if (message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK && message != WM_MOUSEMOVE) {
        pointerMoved(*form, element, lParam);
    }
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            if (capture) {
                SetCapture(element);
                form->captureElement = element;
            }
            if (button == platform::kLeftButton) form->suppressClick = false;
            dispatchToForm(formWindow, [&](platform::WindowEvents& e) {
                e.onPointerDown(controlId, button, x, y);
            });
            return true;
        case WM_LBUTTONDBLCLK:
            if (capture) {
                SetCapture(element);
                form->captureElement = element;
            }
            form->suppressClick = true;
            dispatchToForm(formWindow,
                           [&](platform::WindowEvents& e) { e.onDoubleClick(controlId); });
            return true;
        case WM_MOUSEMOVE:
            if (!pointerMoved(*form, element, lParam)) return true;
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
            const bool lastButton = buttonsHeld(wParam) == 0;
            // The capture is let go only after the release and the click are handled: letting
            // it go first brings a pointer move that would reach the handlers before them.
            dispatchToForm(formWindow, [&](platform::WindowEvents& e) {
                e.onPointerUp(controlId, button, x, y);
            });
            // The release may have closed the window; then there is nothing to click.
            if (click && IsWindow(formWindow)) {
                dispatchToForm(formWindow,
                               [&](platform::WindowEvents& e) { e.onClick(controlId); });
            }
            if (lastButton && IsWindow(formWindow)) releasePointer(*form, element);
            return true;
        }
        case WM_CAPTURECHANGED:
            // Taken away by another window (a popup, Alt+Tab, a message box) mid-gesture.
            if (form->captureElement != element || reinterpret_cast<HWND>(lParam) == element) {
                return false;
            }
            form->captureElement = nullptr;
            dispatchToForm(formWindow,
                           [&](platform::WindowEvents& e) { e.onPointerCaptureLost(controlId); });
            return false;
        default:
            return false;
    }
}

namespace {
// The program's check boxes are the box alone (a text, if any, lies outside the window), and a
// box draws its focus rectangle only around its text: the program draws it around the box,
// after every paint of the box.
LRESULT paintCheckBox(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (showsFocus(window)) {
        RECT client;
        GetClientRect(window, &client);
        HDC dc = GetDC(window);
        DrawFocusRect(dc, &client);
        ReleaseDC(window, dc);
    }
    return result;
}
}  // namespace

LRESULT CALLBACK systemControlSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_PAINT:
            return paintCheckBox(window, message, wParam, lParam);
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case BM_SETCHECK:
        case BM_SETSTATE:
        case WM_UPDATEUISTATE: {
            // The box may draw itself at once; a full paint follows, with the rectangle.
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, FALSE);
            return result;
        }
        default:
            break;
    }
    if (message == WM_MOUSEMOVE) {
        pointerMessage(window, controlIdOf(window), GetParent(window), message, wParam, lParam);
    } else if (message == WM_GETOBJECT) {
        tellAccessibility(window, message);
    } else if (message == WM_NCDESTROY) {
        tellAccessibility(window, message);
        RemoveWindowSubclass(window, systemControlSubclass, 0);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace qmx::win32
