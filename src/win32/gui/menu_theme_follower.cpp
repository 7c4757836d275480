#include "win32/gui/menu_theme_follower.h"

#include <string_view>

#include "ui/menu_theme.h"

namespace qmx::win32 {

namespace {

bool highContrastOn() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof(contrast);
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

// uxtheme exports both by ordinal only; they are looked up only on the builds that have them.
// Without the flush, menus keep the theme uxtheme has cached for the process.
void MenuThemeFollower::follow() {
    using SetPreferredAppMode = int(WINAPI*)(int);
    using FlushMenuThemes = void(WINAPI*)();
    const ui::MenuTheme theme = ui::menuThemeFor(kernel_, highContrastOn());
    if (!theme.preferredAppMode) return;
    const auto flush = uxtheme_.function<FlushMenuThemes>(MAKEINTRESOURCEA(136));
    const auto setMode = uxtheme_.function<SetPreferredAppMode>(MAKEINTRESOURCEA(135));
    if (flush == nullptr || setMode == nullptr) return;
    setMode(theme.argument);
    flush();
}

// Windows names the changed setting: "ImmersiveColorSet" when the user switches between the
// dark and the light app theme (as win32-darkmode's sample reads it), SPI_SETHIGHCONTRAST for
// high contrast.
void MenuThemeFollower::onSettingChange(WPARAM wParam, LPARAM lParam) {
    const bool themeChanged =
        lParam != 0 &&
        std::string_view(reinterpret_cast<const char*>(lParam)) == "ImmersiveColorSet";
    if (themeChanged || wParam == SPI_SETHIGHCONTRAST) follow();
}

}  // namespace qmx::win32
