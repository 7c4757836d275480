#pragma once

#include <optional>
#include <set>
#include <span>

#include "platform/system.h"
#include "platform/window_events.h"

namespace qmx::resources {
struct MenuItemDefinition;
}  // namespace qmx::resources

namespace qmx::platform {

// A popup menu's state when it opens.
struct MenuState {
    // Where the menu pops up: the centre of this rectangle (screen pixels); the pointer without.
    std::optional<Rect> place;
    std::set<int> checked;
    std::set<int> radio;     // items whose check mark is a radio dot
    std::set<int> disabled;  // items shown grayed, which cannot be chosen
    int defaultItem = 0;
};

// Popup menus, tracked until the user chooses or dismisses them.
class Menus {
public:
    Menus() = default;
    Menus(const Menus&) = delete;
    Menus& operator=(const Menus&) = delete;
    virtual ~Menus() = default;

    // Pops up a menu (at state.place, else at the pointer) and returns the item chosen, or 0
    // when none was.
    virtual int popupMenu(WindowId owner, std::span<const resources::MenuItemDefinition> items,
                          const MenuState& state) = 0;
};

}  // namespace qmx::platform
