#include "ui/menu_theme.h"

namespace qmx::ui {

namespace {

constexpr std::uint32_t kWindows10 = 10;
constexpr std::uint32_t kFirstWithAppMode = 17763;        // Windows 10 1809
constexpr std::uint32_t kFirstWithPreferredMode = 18334;  // an Insider build before 1903 (18362)

}  // namespace

// Ordinal 135 of uxtheme is AllowDarkModeForApp(bool) from Windows 10 1809 on, and
// SetPreferredAppMode(PreferredAppMode) from build 18334 on, where AllowDark is 1 and Default 0;
// with either, and FlushMenuThemes (ordinal 136) after it, popup menus follow the user's app
// theme (public reports: win32-darkmode's DarkMode.h, mintty #983, wails #5873, PowerToys #47871,
// winit #4690). Earlier builds lack them or give the ordinals other meanings, and a later major
// version may too: there the program asks for nothing. High contrast keeps the system's own
// colours.
MenuTheme menuThemeFor(const platform::OsVersion& kernel, bool highContrast) {
    if (kernel.major != kWindows10 || kernel.build < kFirstWithAppMode) return {};
    const auto function = kernel.build < kFirstWithPreferredMode
                              ? MenuTheme::Function::AllowDarkModeForApp
                              : MenuTheme::Function::SetPreferredAppMode;
    return {function, highContrast ? 0 : 1};
}

}  // namespace qmx::ui
