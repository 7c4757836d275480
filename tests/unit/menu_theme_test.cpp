// Which Windows builds let the tray menu follow the user's app theme, and how.
#include <gtest/gtest.h>

#include "ui/menu_theme.h"

namespace qmx::testing {
namespace {

TEST(MenuTheme, FollowsTheAppThemeFromWindows10_1903OnExceptInHighContrast) {
    const struct {
        const char* system;
        std::uint32_t major, minor, build;
        bool highContrast;
        ui::MenuTheme theme;
    } cases[] = {
        {"XP x64", 5, 2, 3790, false, {}},
        {"8.1", 6, 3, 9600, false, {}},
        {"10 1803", 10, 0, 17134, false, {}},
        {"10 1809", 10, 0, 17763, false, {}},
        {"an Insider build before 1903", 10, 0, 18361, false, {}},
        {"10 1903", 10, 0, 18362, false, {true, 1}},
        {"10 1903, high contrast", 10, 0, 18362, true, {true, 0}},
        {"11 23H2", 10, 0, 22631, false, {true, 1}},
        {"11 23H2, high contrast", 10, 0, 22631, true, {true, 0}},
        {"a later major version", 11, 0, 30000, false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::menuThemeFor({c.major, c.minor, c.build, 2}, c.highContrast), c.theme)
            << c.system;
    }
}

}  // namespace
}  // namespace qmx::testing
