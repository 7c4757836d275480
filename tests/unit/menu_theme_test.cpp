// Which Windows builds let the tray menu follow the user's app theme, and how.
#include <gtest/gtest.h>

#include "ui/menu_theme.h"

namespace qmx::testing {
namespace {

TEST(MenuTheme, FollowsTheAppThemeFromWindows10_1809OnExceptInHighContrast) {
    using F = ui::MenuTheme::Function;
    const struct {
        const char* system;
        std::uint32_t major, minor, build;
        bool highContrast;
        ui::MenuTheme theme;
    } cases[] = {
        {"XP x64", 5, 2, 3790, false, {}},
        {"8.1", 6, 3, 9600, false, {}},
        {"10 1803", 10, 0, 17134, false, {}},
        {"10 1809", 10, 0, 17763, false, {F::AllowDarkModeForApp, 1}},
        {"10 1809, high contrast", 10, 0, 17763, true, {F::AllowDarkModeForApp, 0}},
        {"Insider before the preferred mode", 10, 0, 18333, false, {F::AllowDarkModeForApp, 1}},
        {"Insider with the preferred mode", 10, 0, 18334, false, {F::SetPreferredAppMode, 1}},
        {"11 23H2", 10, 0, 22631, false, {F::SetPreferredAppMode, 1}},
        {"11 23H2, high contrast", 10, 0, 22631, true, {F::SetPreferredAppMode, 0}},
        {"a later major version", 11, 0, 30000, false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::menuThemeFor({c.major, c.minor, c.build, 2}, c.highContrast), c.theme)
            << c.system;
    }
}

}  // namespace
}  // namespace qmx::testing
