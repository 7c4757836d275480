#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <set>
#include <span>

#include "platform/system.h"

namespace qmx::resources {
struct FormDefinition;
struct MenuItemDefinition;
}  // namespace qmx::resources

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

// Where SetWindowPos puts a window in the z-order.
enum class ZOrder : std::intptr_t { TopMost = -1, NoTopMost = -2 };
inline constexpr unsigned kSwpNoSize = 0x1;
inline constexpr unsigned kSwpNoMove = 0x2;
inline constexpr unsigned kSwpShowWindow = 0x40;

inline constexpr std::uint32_t kWsExToolWindow = 0x80;
inline constexpr std::uint32_t kWsExLayered = 0x80000;
inline constexpr std::uint32_t kLwaAlpha = 2;
inline constexpr std::uint32_t kCsDropShadow = 0x20000;

// A popup menu's state when it opens.
struct MenuState {
    // Where the menu pops up: the centre of this rectangle (screen pixels); the pointer without.
    std::optional<Rect> place;
    std::set<int> checked;
    std::set<int> radio;     // items whose check mark is a radio dot
    std::set<int> disabled;  // items shown grayed, which cannot be chosen
    int defaultItem = 0;
};

// Mouse buttons as a bit mask, as pointer events report them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// Keys the program answers to; every other key is Other.
enum class Key { Other, Up, Down, Left, Right, PageUp, PageDown, Home, End, Space, M, Escape };

// One notch of a mouse wheel, as wheel deltas count it.
inline constexpr int kWheelNotch = 120;

// A shortcut-key box's modifiers, the high byte of its value (HOTKEYF_*), and the modifiers a
// shortcut is registered with (MOD_*): the same keys in another order.
inline constexpr unsigned kHotKeyShift = 0x01;
inline constexpr unsigned kHotKeyControl = 0x02;
inline constexpr unsigned kHotKeyAlt = 0x04;
inline constexpr unsigned kHotKeyExtended = 0x08;
inline constexpr unsigned kModAlt = 0x1;
inline constexpr unsigned kModControl = 0x2;
inline constexpr unsigned kModShift = 0x4;
// MOD_NOREPEAT: a held shortcut reports once (Windows 7 and later know it).
inline constexpr unsigned kModNoRepeat = 0x4000;

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

// Windows, their controls and timers, and message boxes. A window is created from its
// definition, with every control a user reads or operates as a child the system can see; it and
// its timers live until destroyWindow. Events arrive on the user-interface thread.
class WindowSystem {
public:
    WindowSystem() = default;
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;
    virtual ~WindowSystem() = default;

    virtual void initCommonControls() = 0;
    virtual WindowId createWindow(const resources::FormDefinition& definition,
                                  WindowEvents& events) = 0;
    virtual void destroyWindow(WindowId window) = 0;
    virtual void setWindowIcon(WindowId window, IconId icon) = 0;
    // The resolution (dots per inch) the window is laid out at: its monitor's.
    virtual int windowDpi(WindowId window) = 0;

    virtual void setControlText(WindowId window, int controlId, std::string_view text) = 0;
    virtual void setControlValue(WindowId window, int controlId, int value) = 0;
    // The value a control holds now as the user left it: a shortcut-key box's key and modifiers
    // (kHotKey* flags in its high byte).
    virtual int controlValue(WindowId window, int controlId) = 0;
    virtual void moveControl(WindowId window, int controlId, float leftTwips, float topTwips) = 0;
    virtual void setControlVisible(WindowId window, int controlId, bool visible) = 0;
    // Picture of a control, or of the window's background for kFormItself.
    virtual void setPicture(WindowId window, int controlId, PictureId picture) = 0;
    // Background colour of a control, as a 0x00BBGGRR colour value.
    virtual void setControlBackColor(WindowId window, int controlId, std::uint32_t color) = 0;
    virtual void setControlUnderline(WindowId window, int controlId, bool underline) = 0;
    // Presses a button for the program: its window becomes the active one and the button's
    // click is reported, while the keyboard focus stays off the button.
    virtual void clickButton(WindowId window, int controlId) = 0;
    // Gives the keyboard focus to a control (its window becomes the active one); screen readers
    // speak the focused control.
    virtual void focusControl(WindowId window, int controlId) = 0;
    // The name screen readers speak for a control that shows no text of its own.
    virtual void nameControl(WindowId window, int controlId, std::string_view name) = 0;

    // Clips a window (kFormItself) or a control's own window to a rounded rectangle, in pixels.
    // The window owns the region from then on.
    virtual void setRoundRectRegion(WindowId window, int controlId, int left, int top, int right,
                                    int bottom, int ellipseWidth, int ellipseHeight) = 0;
    // Moves the window (screen pixels), places it in the z-order and shows it, as the flags say.
    virtual void setWindowPos(WindowId window, ZOrder insertAfter, int x, int y, int cx, int cy,
                              unsigned flags) = 0;
    virtual void showWindow(WindowId window) = 0;
    // The window's top-left corner on the screen, in twips, and a move of it.
    virtual void windowPosition(WindowId window, float& leftTwips, float& topTwips) = 0;
    virtual void moveWindow(WindowId window, float leftTwips, float topTwips) = 0;
    virtual bool setForegroundWindow(WindowId window) = 0;
    // Whether the window is the one the user works in now.
    virtual bool isForegroundWindow(WindowId window) = 0;
    virtual std::uint32_t extendedStyle(WindowId window) = 0;
    // Replaces the extended style; returns the previous one.
    virtual std::uint32_t setExtendedStyle(WindowId window, std::uint32_t style) = 0;
    virtual void setLayeredAttributes(WindowId window, std::uint32_t colorKey, std::uint8_t alpha,
                                      std::uint32_t flags) = 0;
    virtual std::uint32_t classStyle(WindowId window) = 0;
    virtual void setClassStyle(WindowId window, std::uint32_t style) = 0;

    // Pops up a menu (at state.place, else at the pointer) and returns the item chosen, or 0
    // when none was.
    virtual int popupMenu(WindowId owner, std::span<const resources::MenuItemDefinition> items,
                          const MenuState& state) = 0;

    // Starts or stops reporting the pointer and the wheel to `window` wherever the pointer is
    // (onPointerWatched). False when the system cannot.
    virtual bool watchPointer(WindowId window, bool watch) = 0;
    // Tells screen readers that a control is a slider named `name` whose value now reads `value`.
    virtual void announceSlider(WindowId window, int controlId, std::string_view name,
                                std::string_view value) = 0;

    // Registers a shortcut key (kMod* modifiers, kModNoRepeat among them as asked) for the whole
    // system, reported to `window` as onHotKey(id). Returns 0, or the system's error code (1409:
    // the combination is registered already). Unregistering one that is not registered does
    // nothing.
    virtual std::uint32_t registerHotKey(WindowId window, int id, unsigned modifiers,
                                         unsigned virtualKey) = 0;
    virtual void unregisterHotKey(WindowId window, int id) = 0;

    // The longest time between the clicks of a double click, in milliseconds.
    virtual unsigned doubleClickTime() = 0;
    // The milliseconds since the system started, the clock timers run by; it wraps around after
    // 2^32 ms, so only differences of two readings count.
    virtual std::uint32_t tickCount() = 0;
    // Where the taskbar's notification area stands on the screen, in pixels; false where there
    // is none to find.
    virtual bool notificationAreaRect(Rect& area) = 0;

    virtual void setTimer(WindowId window, int timerId, unsigned intervalMs) = 0;
    virtual void killTimer(WindowId window, int timerId) = 0;

    // Shows a message box, modal to `owner` (kNoWindow: owned by no window); returns the button
    // pressed.
    virtual int messageBox(WindowId owner, std::string_view text, std::string_view caption,
                           unsigned flags) = 0;
};

}  // namespace qmx::platform
