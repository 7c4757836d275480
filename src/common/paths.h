#pragma once

#include <string>

namespace qmx {

// The folder part of a Windows path: the text before its last backslash (empty without one).
inline std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace qmx
