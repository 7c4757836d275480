#pragma once

#include <cstdint>

#include "platform/input.h"
#include "platform/message_boxes.h"
#include "platform/shell.h"
#include "settings/settings_store.h"

namespace qmx::settings {

// The shortcut key that opens the controller from anywhere. It is stored per user as `hotkey`,
// a shortcut-key box's value (the key's virtual-key code in the low byte, kHotKey* modifiers in
// the high byte), and registered with the system for the tray host's window.
class ShortcutKey {
public:
    ShortcutKey(platform::Input& input, platform::MessageBoxes& messageBoxes,
                platform::Shell& shell, SettingsStore& settings);

    // Registers the stored shortcut for `host`; a stored value that is no shortcut counts as none.
    void registerStored(platform::WindowId host);
    // The shortcut in use; 0 when none.
    std::uint32_t current() const { return current_; }
    // Makes `value` the shortcut (0: none), registered first, then stored. A shortcut the system
    // refuses is reported in a message owned by `owner`, and the one in use stays.
    void change(std::uint32_t value, platform::WindowId owner);
    // Whether a value names a key with nothing but known modifiers.
    static bool isShortcut(std::uint32_t value);

private:
    std::uint32_t registerFor(std::uint32_t value, int id);
    void reportRefusal(std::uint32_t rc, platform::WindowId owner);

    platform::Input& input_;
    platform::MessageBoxes& messageBoxes_;
    platform::Shell& shell_;
    SettingsStore& settings_;
    platform::WindowId host_ = platform::kNoWindow;
    std::uint32_t current_ = 0;
    int id_ = 1;  // the registration in use; a change registers under the other one first
};

}  // namespace qmx::settings
