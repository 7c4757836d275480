#include "resources/tray_menu.h"

#include <array>

namespace qmx::resources {

namespace {
using namespace tray_menu;

constexpr std::array<MenuItemDefinition, 16> kItems{{
    {Abt, "abt", "About", 1},
    {0, "line7", "-", 1},
    {Skin, "skin", "Skin", 1},
    {Vista, "vista", "Vista", 2},
    {Classic, "classic", "Classic", 2},
    {Opt, "opt", "Options", 1},
    {0, "Line8", "-", 1},
    {Ts, "ts", "Test Sound", 1},
    {Ontop, "ontop", "Keep Controller on Top", 1},
    {0, "line1", "-", 1},
    {Omc, "omc", "Open Volume Control (Windows)", 1},
    {Adjap, "adjap", "Adjust Audio Properties (Windows)", 1},
    {0, "line3", "-", 1},
    {Web, "web", "Korwen's Software Website", 1},
    {0, "line6", "-", 1},
    {Exitqmx, "exitqmx", "Close Velto Volume Controller", 1},
}};
}  // namespace

std::span<const MenuItemDefinition> trayMenu() {
    return kItems;
}

}  // namespace qmx::resources
