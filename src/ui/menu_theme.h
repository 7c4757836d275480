#pragma once

#include "platform/system.h"

namespace qmx::ui {

// How the popup menus take the user's app theme, dark or light: whether the program may call
// uxtheme's SetPreferredAppMode (ordinal 135) on this Windows at all, and what to ask of it.
struct MenuTheme {
    bool preferredAppMode = false;
    // 1: the menus follow the app theme (AllowDark); 0: the system's look (Default).
    int argument = 0;
    bool operator==(const MenuTheme&) const = default;
};

// `kernel`: the version the kernel reports, whatever the manifest declares.
MenuTheme menuThemeFor(const platform::OsVersion& kernel, bool highContrast);

}  // namespace qmx::ui
