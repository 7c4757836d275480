#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>

#include "platform/window_events.h"
#include "resources/form_definition.h"
#include "win32/gui/accessibility.h"
#include "win32/gui/cursor_store.h"
#include "win32/gui/picture_store.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

inline constexpr std::uint32_t kSystemColor = 0xFFFFFFFF;
// Child windows carry their control's id plus this base, so that no control has the ids the
// dialog manager sends for Enter and Esc (IDOK 1, IDCANCEL 2) and the other dialog commands.
inline constexpr int kChildIdBase = 100;

struct ControlWindow {
    HWND window = nullptr;
    const resources::ControlDefinition* design = nullptr;
    platform::PictureId picture = platform::PictureId::None;
    COLORREF backColor = 0;
    UniqueBrush backBrush;
    UniqueFont font;
    bool underline = false;
    double leftTwips = 0;  // the control's place, kept in twips so that it survives a change
    double topTwips = 0;   // of resolution
};

// What a window procedure needs to know about its form; owned by the window and freed when the
// window is destroyed.
struct FormWindow {
    platform::WindowEvents* events = nullptr;
    const resources::FormDefinition* definition = nullptr;
    const PictureStore* pictures = nullptr;
    int dpi = 96;  // the resolution the form is laid out at: its monitor's
    std::map<int, ControlWindow> controls;
    const CursorStore* cursors = nullptr;
    platform::IconId icon = platform::IconId::None;
    platform::PictureId background = platform::PictureId::None;
    bool suppressClick = false;         // the left release that ends a double click is no click
    HWND captureElement = nullptr;      // the element that took the pointer at a button press
    POINT lastPointer{-32768, -32768};  // screen position of the last pointer message
    HWND savedFocus = nullptr;          // the focused control while the form is inactive
    bool focusCues = false;             // the focused control shows its focus rectangle
    HFONT dialogFont = nullptr;         // the system's (below) or the scaled one
    HFONT systemDialogFont = nullptr;   // at the system's resolution, owned by the window system
    UniqueFont scaledDialogFont;        // at another resolution
    Accessibility* accessibility = nullptr;
};

UINT taskbarCreatedMessage();
FormWindow* formOf(HWND window);
int controlIdOf(HWND child);
int childIdFor(int controlId);
HWND handleOf(platform::WindowId window);
ControlWindow* controlOf(platform::WindowId window, int controlId);
// Whether `control` has the focus and should show it (its form's keyboard cues are on).
bool showsFocus(HWND control);
// The keyboard is in use on the form: from now on its focused control shows its focus rectangle.
void showFocusCues(HWND form);
// A control's WM_GETOBJECT (a screen reader asks for it) and WM_NCDESTROY reach the form's
// accessibility annotations.
void tellAccessibility(HWND control, UINT message);
// Delivers one event to the form that owns `window`. This is the boundary that no exception
// crosses.
void dispatchToForm(HWND window, const std::function<void(platform::WindowEvents&)>& event);

}  // namespace qmx::win32
