#pragma once

#include <windows.h>

#include "platform/system.h"
#include "win32/system/system_library.h"

namespace qmx::win32 {

// The program's popup menus in the user's app theme, dark or light, on the Windows builds that
// let a program ask for it (ui::menuThemeFor); elsewhere, or when uxtheme lacks the functions,
// they keep the system's look. The program's windows keep theirs.
class MenuThemeFollower {
public:
    explicit MenuThemeFollower(const platform::OsVersion& kernel) : kernel_(kernel) {}
    MenuThemeFollower(const MenuThemeFollower&) = delete;
    MenuThemeFollower& operator=(const MenuThemeFollower&) = delete;

    // Before the first menu, and again when the theme or high contrast changes.
    void follow();
    // A WM_SETTINGCHANGE.
    void onSettingChange(WPARAM wParam, LPARAM lParam);

private:
    platform::OsVersion kernel_;
    SystemLibrary uxtheme_{L"uxtheme.dll"};
};

}  // namespace qmx::win32
