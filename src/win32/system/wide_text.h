#pragma once

#include <string>
#include <string_view>

namespace qmx::win32 {

// Paths cross the platform seam as UTF-8, so that any folder name survives whatever the
// system's code page; the system's wide-character functions take and give UTF-16.
std::wstring widen(std::string_view utf8);
std::string utf8Of(std::wstring_view wide);

}  // namespace qmx::win32
