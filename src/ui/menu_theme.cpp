#include "ui/menu_theme.h"

namespace qmx::ui {

namespace {

constexpr std::uint32_t kWindows10 = 10;
constexpr std::uint32_t kFirstWithPreferredMode = 18362;  // Windows 10 1903

}  // namespace

// Ordinal 135 of uxtheme is SetPreferredAppMode(PreferredAppMode) from Windows 10 1903 on, where
// AllowDark is 1 and Default 0; with it, and FlushMenuThemes (ordinal 136) after it, popup menus
// follow the user's app theme (public reports: win32-darkmode's DarkMode.h, winit #4690,
// PowerToys #47871, ManagedShell's "1903-20H2"). Earlier builds lack it or give the ordinal
// another meaning (1809's AllowDarkModeForApp, which needs more undocumented calls for menus),
// and a later major version may too: there the program asks for nothing. High contrast keeps the
// system's own colours.
MenuTheme menuThemeFor(const platform::OsVersion& kernel, bool highContrast) {
    if (kernel.major != kWindows10 || kernel.build < kFirstWithPreferredMode) return {};
    return {true, highContrast ? 0 : 1};
}

}  // namespace qmx::ui
