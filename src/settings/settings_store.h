#pragma once

#include <cstdint>
#include <string>

#include "platform/message_boxes.h"
#include "platform/registry.h"

namespace qmx::settings {

inline constexpr const char* kSettingsKey =
    "Software\\Korwen's Software\\Velto Volume Controller\\4.0";

// The user's preferences in the registry: keep on top, drop shadow, skin, the shortcut key, the
// log. No setting is read from memory: every operation opens the key, does one thing and closes it
// (the skin name last written is kept, but nothing reads it back). Storing creates the key when it
// is missing (a per-machine installation creates it only for the user who installed); reading a
// missing key or value gives the defaults.
class SettingsStore {
public:
    SettingsStore(platform::Registry& registry, platform::MessageBoxes& messageBoxes);

    std::int32_t GetOnTopStat();
    void setOnTopOn();
    void setOnTopOff();
    std::int32_t GetShadowStat();
    void setShadowOn();
    void setShadowOff();
    // The stored skin text; empty when absent.
    std::string GetSkin();
    void setSkinVista();
    void setSkinClassic();
    // The shortcut that opens the controller, as a shortcut-key box gives it; 0 when none.
    std::uint32_t GetHotKey();
    void setHotKey(std::uint32_t value);
    void removeHotKey();
    // Whether the user asked for a log of what the system answered: `log` is the DWORD 1.
    bool logWanted();

    // The skin name last written; not read back by anything.
    const std::string& skinName() const { return skinName_; }

private:
    std::int32_t readFlag(const char* name);
    void writeFlag(const char* name, std::uint32_t value);
    void writeSkin(const char* name);

    platform::Registry& registry_;
    platform::MessageBoxes& messageBoxes_;
    std::string skinName_;
};

// A skin text selects the Vista skin when its first five characters are exactly "vista".
bool isVistaSkin(const std::string& skin);

}  // namespace qmx::settings
