// Where the process keeps its DLL search to the system folder, and where it preloads instead.
#include <gtest/gtest.h>

#include "system_checks/dll_search.h"

namespace qmx::testing {
namespace {

TEST(DllSearch, RestrictedWhereTheFlagsExistExceptOnVistaElsewherePreloaded) {
    const struct {
        const char* system;
        std::uint32_t major, minor;
        bool flagsKnown;
        bool restricted;
    } cases[] = {
        {"XP x64", 5, 2, false, false},
        {"Vista with KB2533623", 6, 0, true, false},
        {"7 without KB2533623", 6, 1, false, false},
        {"7 with KB2533623", 6, 1, true, true},
        {"10", 10, 0, true, true},
    };
    for (const auto& c : cases) {
        const system_checks::DllSearchPlan plan =
            system_checks::dllSearchPlan({c.major, c.minor, 0, 2}, c.flagsKnown);
        EXPECT_EQ(plan, (system_checks::DllSearchPlan{c.restricted, !c.restricted})) << c.system;
    }
}

}  // namespace
}  // namespace qmx::testing
