#pragma once

#include "platform/system.h"

namespace qmx::ui {

// How the popup menus take the user's app theme, dark or light: which function uxtheme's
// ordinal 135 is on this Windows, if the program may call it at all, and what to ask of it.
struct MenuTheme {
    enum class Function { None, AllowDarkModeForApp, SetPreferredAppMode };
    Function function = Function::None;
    // 1: the menus follow the app theme (AllowDark, or TRUE); 0: the system's look (Default).
    int argument = 0;
    bool operator==(const MenuTheme&) const = default;
};

// `kernel`: the version the kernel reports, whatever the manifest declares.
MenuTheme menuThemeFor(const platform::OsVersion& kernel, bool highContrast);

}  // namespace qmx::ui
