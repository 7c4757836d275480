#pragma once

#include <cstdint>

#include "platform/window_events.h"

namespace qmx::platform {

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

// The keyboard's focus, the pointer watched anywhere, and shortcut keys for the whole system.
class Input {
public:
    Input() = default;
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;
    virtual ~Input() = default;

    // Presses a button for the program: its window becomes the active one and the button's
    // click is reported, while the keyboard focus stays off the button.
    virtual void clickButton(WindowId window, int controlId) = 0;
    // Gives the keyboard focus to a control (its window becomes the active one); screen readers
    // speak the focused control.
    virtual void focusControl(WindowId window, int controlId) = 0;
    // Starts or stops reporting the pointer and the wheel to `window` wherever the pointer is
    // (onPointerWatched). False when the system cannot.
    virtual bool watchPointer(WindowId window, bool watch) = 0;
    // Registers a shortcut key (kMod* modifiers, kModNoRepeat among them as asked) for the whole
    // system, reported to `window` as onHotKey(id). Returns 0, or the system's error code (1409:
    // the combination is registered already). Unregistering one that is not registered does
    // nothing.
    virtual std::uint32_t registerHotKey(WindowId window, int id, unsigned modifiers,
                                         unsigned virtualKey) = 0;
    virtual void unregisterHotKey(WindowId window, int id) = 0;
    // The longest time between the clicks of a double click, in milliseconds.
    virtual unsigned doubleClickTime() = 0;
};

}  // namespace qmx::platform
