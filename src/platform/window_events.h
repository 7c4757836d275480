#pragma once

#include <cstdint>

namespace qmx::platform {

using WindowId = std::uintptr_t;
inline constexpr WindowId kNoWindow = 0;

// Control id 0 stands for the window itself (its background).
// Pointer events go to the element that got the button press until the last button is released
// (the element captures the pointer), so a drag keeps reaching it outside its bounds.
inline constexpr int kFormItself = 0;

enum class IconId { None = 0, TrayNormal = 1, TrayMuted = 2 };

// Pictures of the program's windows.
enum class PictureId {
    None = 0,
    VistaSkin,
    ClassicSkin,
    Knob,
    VistaClose,
    VistaCloseHighlighted,
    ClassicClose,
    AboutBackground,
    AboutLogo,
};

// Mouse buttons as a bit mask, as pointer events report them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Keys the program answers to; every other key is Other.
enum class Key { Other, Up, Down, Left, Right, PageUp, PageDown, Home, End, Space, M, Escape };

// One notch of a mouse wheel, as wheel deltas count it.
inline constexpr int kWheelNotch = 120;

// What a window hears from the user and the system. Positions are twips relative to the
// element's own top-left corner, with one exception: the tray icon's callback message is a
// left-button press, so a press on the hidden tray host itself carries the shell's mouse event
// (0x200 move, 0x202 left release, 0x203 double click, 0x204 right press, ...) as its
// horizontal position, in pixels converted to twips at the host's resolution.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    virtual void onTimer(int timerId) = 0;
    virtual void onPointerDown(int controlId, int button, float x, float y) = 0;
    // `buttons` holds every button still pressed.
    virtual void onPointerMove(int controlId, int buttons, float x, float y) = 0;
    virtual void onPointerUp(int controlId, int button, float x, float y) = 0;
    virtual void onClick(int controlId) = 0;
    virtual void onDoubleClick(int controlId) = 0;
    // The shell's notification area was created again (the shell restarted).
    virtual void onTaskbarCreated() = 0;
    // The user or another program asked to close the window (its close box, Alt+F4, WM_CLOSE).
    virtual void onClose() = 0;
    // The user is logging off or the system is shutting down.
    virtual void onSessionEnding() = 0;
    // The element that held the pointer lost it to another window (a popup, Alt+Tab) before
    // the button was released; pointer handling ends as at a release, without a click.
    virtual void onPointerCaptureLost(int controlId) = 0;
    // A key went down while the window (a form that is no dialog) is active; `repeated` when it
    // is the keyboard's auto-repeat of a key held down.
    virtual void onKey(Key key, bool repeated) = 0;
    // The wheel turned while the window had the focus (positive: away from the user); the
    // pointer is at (x, y) on the screen in pixels, which may lie outside the window.
    virtual void onWheel(int delta, int x, int y) = 0;
    // While the window watches the pointer (watchPointer): the pointer is at (x, y) on the screen
    // in pixels, and the wheel turned by `wheelDelta` (0 for a mere move).
    virtual void onPointerWatched(int x, int y, int wheelDelta) = 0;
    // The window now stands at another resolution (moved to a monitor of another scale, or the
    // scale changed). The window system has already laid the window and its controls out again
    // at `dpi`; what the window set in pixels itself (its shape) is its own to do again.
    virtual void onDpiChanged(int dpi) = 0;
    // Multimedia device `deviceId` reports the end of a command (see Sound).
    virtual void onMultimediaNotify(int code, std::uint32_t deviceId) = 0;
    // The shortcut key registered as `id` (registerHotKey) was pressed, wherever the focus is.
    virtual void onHotKey(int id) = 0;
};

}  // namespace qmx::platform
