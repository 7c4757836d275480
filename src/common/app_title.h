#pragma once

namespace qmx {

// Caption of every message box and name of the start-at-logon entry.
inline constexpr const char* kAppTitle = "Velto Volume Controller 4.0";

}  // namespace qmx
