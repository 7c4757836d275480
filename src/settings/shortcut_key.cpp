#include "settings/shortcut_key.h"

#include <string>

#include "common/app_title.h"
#include "common/program_end.h"

namespace qmx::settings {

namespace {
constexpr const char* kShortcutRefused = "Unable to set the shortcut to open the controller.";
constexpr unsigned kKnownModifiers = platform::kHotKeyShift | platform::kHotKeyControl |
                                     platform::kHotKeyAlt | platform::kHotKeyExtended;

// The box's modifier bits are not the registration's: its Shift bit is the registration's Alt.
unsigned registrationModifiers(unsigned boxModifiers) {
    unsigned modifiers = 0;
    if (boxModifiers & platform::kHotKeyShift) modifiers |= platform::kModShift;
    if (boxModifiers & platform::kHotKeyControl) modifiers |= platform::kModControl;
    if (boxModifiers & platform::kHotKeyAlt) modifiers |= platform::kModAlt;
    return modifiers;
}
}  // namespace

ShortcutKey::ShortcutKey(platform::Input& input, platform::MessageBoxes& messageBoxes,
                         platform::Shell& shell, SettingsStore& settings)
    : input_(input), messageBoxes_(messageBoxes), shell_(shell), settings_(settings) {}

bool ShortcutKey::isShortcut(std::uint32_t value) {
    const std::uint32_t key = value & 0xFF;
    const std::uint32_t modifiers = (value >> 8) & 0xFF;
    return value <= 0xFFFF && key != 0 && key != 0xFF && (modifiers & ~kKnownModifiers) == 0;
}

std::uint32_t ShortcutKey::registerFor(std::uint32_t value, int id) {
    return input_.registerHotKey(host_, id, registrationModifiers((value >> 8) & 0xFF),
                                 value & 0xFF);
}

void ShortcutKey::registerStored(platform::WindowId host) {
    host_ = host;
    const std::uint32_t stored = settings_.GetHotKey();
    if (!isShortcut(stored)) return;
    const std::uint32_t rc = registerFor(stored, id_);
    if (rc == 0) {
        current_ = stored;
        return;
    }
    reportRefusal(rc, platform::kNoWindow);
}

void ShortcutKey::reportRefusal(std::uint32_t rc, platform::WindowId owner) {
    messageBoxes_.messageBox(owner,
                             std::string(kShortcutRefused) + " " + shell_.errorDescription(rc),
                             kAppTitle, kMbIconExclamation);
}

void ShortcutKey::change(std::uint32_t value, platform::WindowId owner) {
    if (value == current_ || (value != 0 && !isShortcut(value))) return;
    if (value == 0) {
        input_.unregisterHotKey(host_, id_);
        current_ = 0;
        settings_.removeHotKey();
        return;
    }
    const int next = id_ == 1 ? 2 : 1;
    const std::uint32_t rc = registerFor(value, next);
    if (rc != 0) {
        reportRefusal(rc, owner);
        return;
    }
    if (current_ != 0) input_.unregisterHotKey(host_, id_);
    id_ = next;
    current_ = value;
    settings_.setHotKey(value);
}

}  // namespace qmx::settings
