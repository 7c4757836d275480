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
};
}

// The tray host's popup menu `Base`.
std::span<const MenuItemDefinition> trayMenu();

}  // namespace qmx::resources
