#pragma once

#include <cstdint>
#include <string>

#include "common/event_log.h"
#include "platform/input.h"
#include "platform/message_boxes.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "settings/settings_store.h"

namespace qmx::settings {

// The shortcut key that opens the controller from anywhere. It is stored per user as `hotkey`,
// a shortcut-key box's value (the key's virtual-key code in the low byte, kHotKey* modifiers in
// the high byte), and registered with the system for the tray host's window. While the Options
// dialog is open it is released, so that pressing it in the box types it there.
class ShortcutKey {
public:
    ShortcutKey(platform::Input& input, platform::MessageBoxes& messageBoxes,
                platform::Shell& shell, platform::System& system, SettingsStore& settings,
                EventLog& log);

    // Registers the stored shortcut for `host`; a stored value that is no shortcut counts as none.
    void registerStored(platform::WindowId host);
    // The stored shortcut as the box shows it, registered or refused; 0 when none.
    std::uint32_t stored() const { return stored_; }
    // Lets the system go of the shortcut, until restore().
    void release();
    // Registers the stored shortcut again; the loss of one that was registered is reported.
    void restore();
    // Makes `value`, a shortcut the box gave (0: none), the shortcut: a new one is registered to
    // learn whether the system takes it, then stored. A new one the system refuses is reported in
    // a message owned by `owner`; then nothing is stored and the answer is false. Either way the
    // stored one waits released for restore().
    bool change(std::uint32_t value, platform::WindowId owner);

    // Whether a value names a key with nothing but known modifiers.
    static bool isShortcut(std::uint32_t value);
    // A shortcut as the box makes it of the keys pressed: a key alone, or with one of Shift,
    // Ctrl and Alt alone, gets Ctrl+Alt added.
    static std::uint32_t asTheBoxMakesIt(std::uint32_t value);
    // The keys as a user reads them: "Ctrl+Alt+K".
    static std::string keysText(std::uint32_t value);

private:
    std::uint32_t registerKeys(std::uint32_t value);
    void reportRefusal(std::uint32_t rc, platform::WindowId owner);

    platform::Input& input_;
    platform::MessageBoxes& messageBoxes_;
    platform::Shell& shell_;
    platform::System& system_;
    SettingsStore& settings_;
    EventLog& log_;
    platform::WindowId host_ = platform::kNoWindow;
    std::uint32_t stored_ = 0;
    bool registered_ = false;
    bool heldBeforeRelease_ = false;
    bool noRepeatKnown_ = false;    // Windows 7 and later
    std::string toldRegistration_;  // the log's last line of a registration that held
};

}  // namespace qmx::settings
