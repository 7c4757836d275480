#include "settings/shortcut_key.h"

#include <string>
#include <utility>

#include "common/app_title.h"
#include "common/number_text.h"
#include "common/program_end.h"

namespace qmx::settings {

namespace {
constexpr const char* kShortcutRefused = "Unable to set the shortcut to open the controller.";
constexpr std::uint32_t kAlreadyRegistered = 1409;  // ERROR_HOTKEY_ALREADY_REGISTERED
constexpr int kRegistration = 1;
constexpr unsigned kChosenModifiers =
    platform::kHotKeyShift | platform::kHotKeyControl | platform::kHotKeyAlt;
constexpr unsigned kKnownModifiers = kChosenModifiers | platform::kHotKeyExtended;

// The box's modifier bits are not the registration's: its Shift bit is the registration's Alt.
unsigned registrationModifiers(unsigned boxModifiers) {
    unsigned modifiers = 0;
    if (boxModifiers & platform::kHotKeyShift) modifiers |= platform::kModShift;
    if (boxModifiers & platform::kHotKeyControl) modifiers |= platform::kModControl;
    if (boxModifiers & platform::kHotKeyAlt) modifiers |= platform::kModAlt;
    return modifiers;
}

struct KeyName {
    unsigned key;
    const char* name;
};
constexpr KeyName kKeyNames[] = {
    {0x20, "Space"}, {0x21, "Page Up"}, {0x22, "Page Down"}, {0x23, "End"},
    {0x24, "Home"},  {0x25, "Left"},    {0x26, "Up"},        {0x27, "Right"},
    {0x28, "Down"},  {0x2D, "Insert"},  {0x2E, "Delete"},
};

std::string keyName(unsigned key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
    for (const auto& [code, name] : kKeyNames) {
        if (code == key) return name;
    }
    if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x6F);
    if (key >= 0x60 && key <= 0x69) return "Num " + std::to_string(key - 0x60);
    return "key 0x" + hexDigits(key, 2);
}
}  // namespace

ShortcutKey::ShortcutKey(platform::Input& input, platform::MessageBoxes& messageBoxes,
                         platform::Shell& shell, platform::System& system, SettingsStore& settings,
                         EventLog& log)
    : input_(input),
      messageBoxes_(messageBoxes),
      shell_(shell),
      system_(system),
      settings_(settings),
      log_(log) {}

bool ShortcutKey::isShortcut(std::uint32_t value) {
    const std::uint32_t key = value & 0xFF;
    const std::uint32_t modifiers = (value >> 8) & 0xFF;
    return value <= 0xFFFF && key != 0 && key != 0xFF && (modifiers & ~kKnownModifiers) == 0;
}

// The box's rules (HKM_SETRULES) refuse a key alone, Shift+key, Ctrl+key and Alt+key, which would
// take the key from every program, and add Ctrl+Alt to them (the keys pressed, or'ed with it). A
// stored value made otherwise (by hand) is taken the same way.
std::uint32_t ShortcutKey::asTheBoxMakesIt(std::uint32_t value) {
    const unsigned chosen = (value >> 8) & kChosenModifiers;
    if ((chosen & (chosen - 1)) != 0) return value;  // two modifiers or more
    return value | (platform::kHotKeyControl | platform::kHotKeyAlt) << 8;
}

std::string ShortcutKey::keysText(std::uint32_t value) {
    const unsigned modifiers = (value >> 8) & 0xFF;
    std::string text;
    if (modifiers & platform::kHotKeyControl) text += "Ctrl+";
    if (modifiers & platform::kHotKeyAlt) text += "Alt+";
    if (modifiers & platform::kHotKeyShift) text += "Shift+";
    return text + keyName(value & 0xFF);
}

// The log tells a registration once: not again when Options gave the shortcut back (or took a
// new one only to learn whether the system takes it) and the same one is registered again.
//
// MOD_NOREPEAT keeps a held shortcut from opening and closing the controller by turns; Windows
// before 7 does not know it ("Windows Vista: This flag is not supported", RegisterHotKey) and may
// refuse it in any words, so it is asked for from Windows 7 on. A refusal other than the
// combination being taken is tried again without it; when that is accepted, this Windows refused
// the flag, and it is asked for no more in this run.
std::uint32_t ShortcutKey::registerKeys(std::uint32_t value) {
    const std::string shortcut = "Shortcut " + keysText(value);
    const unsigned modifiers = registrationModifiers((value >> 8) & 0xFF);
    const unsigned key = value & 0xFF;
    const bool noRepeat = noRepeatKnown_;
    std::uint32_t rc = input_.registerHotKey(
        host_, kRegistration, modifiers | (noRepeat ? platform::kModNoRepeat : 0), key);
    if (rc != 0 && rc != kAlreadyRegistered && noRepeat) {
        log_.write(shortcut + " refused " + std::to_string(rc) + " with MOD_NOREPEAT");
        rc = input_.registerHotKey(host_, kRegistration, modifiers, key);
        if (rc == 0) noRepeatKnown_ = false;
    }
    if (rc != 0) {
        log_.write(shortcut + " refused " + std::to_string(rc));
        toldRegistration_.clear();
        return rc;
    }
    registered_ = true;
    const std::string line =
        shortcut + " registered " + (noRepeatKnown_ ? "with" : "without") + " MOD_NOREPEAT";
    if (line != toldRegistration_) log_.write(line);
    toldRegistration_ = line;
    return 0;
}

void ShortcutKey::registerStored(platform::WindowId host) {
    host_ = host;
    const platform::OsVersion version = system_.version();
    noRepeatKnown_ = version.major > 6 || (version.major == 6 && version.minor >= 1);
    const std::uint32_t value = settings_.GetHotKey();
    if (!isShortcut(value)) return;
    stored_ = asTheBoxMakesIt(value);
    const std::uint32_t rc = registerKeys(stored_);
    if (rc != 0) reportRefusal(rc, platform::kNoWindow);
}

void ShortcutKey::reportRefusal(std::uint32_t rc, platform::WindowId owner) {
    messageBoxes_.messageBox(owner,
                             std::string(kShortcutRefused) + " " + shell_.errorDescription(rc),
                             kAppTitle, kMbIconExclamation);
}

void ShortcutKey::release() {
    if (!registered_) return;
    input_.unregisterHotKey(host_, kRegistration);
    registered_ = false;
    heldBeforeRelease_ = true;
}

// Another program may have taken the shortcut meanwhile: the user hears of it, unless it was
// refused already before.
void ShortcutKey::restore() {
    const bool held = std::exchange(heldBeforeRelease_, false);
    if (registered_ || stored_ == 0) return;
    const std::uint32_t rc = registerKeys(stored_);
    if (rc != 0 && held) reportRefusal(rc, platform::kNoWindow);
}

// Clearing deletes the stored value, also one the system refused. A new value is registered now,
// so that a refusal is told while the dialog is open. The stored value unchanged stays stored,
// refused or not: restore() tries it once when the dialog closes, quiet about a refusal it met
// before, so that an unchanged shortcut never holds the rest of the dialog back.
bool ShortcutKey::change(std::uint32_t value, platform::WindowId owner) {
    release();
    if (value == 0) {
        settings_.removeHotKey();
        stored_ = 0;
        toldRegistration_.clear();
        return true;
    }
    if (value == stored_) return true;
    const std::uint32_t rc = registerKeys(value);
    if (rc != 0) {
        reportRefusal(rc, owner);
        return false;
    }
    stored_ = value;
    settings_.setHotKey(value);
    // Let go again until the dialog closes: pressed during a message the dialog shows next, the
    // shortcut would open the controller over it.
    release();
    return true;
}

}  // namespace qmx::settings
