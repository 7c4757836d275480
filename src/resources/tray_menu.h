#pragma once

#include <span>

namespace qmx::resources {

// One entry of a menu tree; level 1 entries are the popup's items, level 2 those of the
// submenu above them. Separators have id 0 and the caption "-".
struct MenuItemDefinition {
    int id;
    const char* name;
    const char* caption;
    int level;
};

namespace tray_menu {
enum Item : int {
    Abt = 1,
    Skin,
    Vista,
    Classic,
    Opt,
    Ts,
    Ontop,
    Omc,
    Adjap,
    Web,
    Exitqmx,
    PlaybackDevice,  // the submenu of the active outputs (Windows Vista and later)
    NoPlaybackDevice,
    FirstOutput = 100,  // the outputs' items, in the order the system lists them
};
inline constexpr const char* kPlaybackDeviceCaption = "Playback Device";
inline constexpr const char* kNoPlaybackDeviceCaption = "(No playback device)";
// An output whose name the system does not give (yet), in the submenu and the About box.
inline constexpr const char* kUnnamedOutputCaption = "(Unnamed device)";
}  // namespace tray_menu

// The tray host's popup menu `Base`.
std::span<const MenuItemDefinition> trayMenu();

}  // namespace qmx::resources
