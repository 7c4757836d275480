#pragma once

#include <span>
#include <string>
#include <vector>

#include "platform/audio_endpoints.h"
#include "platform/menus.h"
#include "resources/tray_menu.h"

namespace qmx::app {

// The tray menu's "Playback Device" submenu, made afresh each time the menu pops up: one item
// per active output by its name, in the system's order, the default output marked with a radio
// dot; with no active output one grayed item says so. It opens the group of the system's sound
// tools, right after the separator before "Open Volume Control (Windows)".
class OutputMenu {
public:
    // The tray menu `base` with the submenu in its place; `state` learns the marks. The items
    // stay valid until the next build.
    std::span<const resources::MenuItemDefinition> build(
        std::span<const resources::MenuItemDefinition> base,
        std::vector<platform::OutputDevice> outputs, const std::string& defaultId,
        platform::MenuState& state);
    // The output a menu item stands for; nothing for any other item.
    const platform::OutputDevice* outputFor(int item) const;

    // A device's name as a menu item shows it: an "&" as itself (not as an underlined access
    // key), control characters as spaces, a name of more than 64 characters cut to 63 and "…",
    // and a name that would show nothing as "(Unnamed device)".
    static std::string captionFor(const std::string& name);

private:
    std::vector<platform::OutputDevice> outputs_;
    std::vector<std::string> captions_;
    std::vector<resources::MenuItemDefinition> items_;
};

}  // namespace qmx::app
