#pragma once

#include "platform/system.h"

namespace qmx::system_checks {

// How the process keeps the DLLs it loads by name to the system folder on this Windows.
struct DllSearchPlan {
    // The default search of the whole process is the system folder only
    // (SetDefaultDllDirectories with LOAD_LIBRARY_SEARCH_SYSTEM32).
    bool restrictDefaultSearch = false;
    // Otherwise the DLLs the system loads by name for the program are loaded from the system
    // folder at start-up, before anything could look for them beside the program.
    bool preloadFromSystemFolder = false;
    bool operator==(const DllSearchPlan&) const = default;
};

// `searchFlagsKnown`: the LOAD_LIBRARY_SEARCH flags exist (Windows 8 on, Vista and 7 with
// KB2533623).
DllSearchPlan dllSearchPlan(const platform::OsVersion& version, bool searchFlagsKnown);

}  // namespace qmx::system_checks
