#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "fakes/fake_windows.h"
#include "platform/menus.h"
#include "resources/tray_menu.h"

namespace qmx::fakes {

// Simulated popup menus: each records what it showed; the user picks `menuChoice`.
class FakeMenus : public platform::Menus {
public:
    FakeMenus(CallLog& log, FakeWindows& windows) : log_(log), windows_(windows) {}

    int popupMenu(platform::WindowId owner, std::span<const resources::MenuItemDefinition> items,
                  const platform::MenuState& state) override {
        log_.add("windows.popupMenu");
        popups.push_back(
            {owner, {items.begin(), items.end()}, state, windows_.foreground == owner});
        if (whileMenuOpen) std::exchange(whileMenuOpen, nullptr)();
        return std::exchange(menuChoice, 0);
    }

    struct Popup {
        platform::WindowId owner;
        std::vector<resources::MenuItemDefinition> items;
        platform::MenuState state;
        bool ownerWasForeground;
    };
    std::vector<Popup> popups;
    int menuChoice = 0;                   // the item the user picks from the next popup menu
    std::function<void()> whileMenuOpen;  // runs once, while the next popup menu is open

private:
    CallLog& log_;
    FakeWindows& windows_;
};

}  // namespace qmx::fakes
