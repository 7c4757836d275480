#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/system.h"

namespace qmx::fakes {

class FakeSystem : public platform::System {
public:
    platform::OsVersion version() override { return osVersion; }
    platform::OsVersion kernelVersion() override { return kernel.value_or(osVersion); }
    std::string systemDirectoryBuffer(std::size_t bufferChars) override {
        std::string buffer(bufferChars, ' ');
        if (systemDirectory.size() < bufferChars) {
            buffer.replace(0, systemDirectory.size() + 1, systemDirectory + '\0');
        }
        return buffer;
    }
    bool workArea(platform::Rect& area) override {
        if (!workAreaAvailable) return false;
        area = workAreaRect;
        return true;
    }

    std::vector<std::string> programFilesFolders() override { return programFiles; }
    // A path the file system knows by another (short) name answers its long form; any other
    // path is its own long form.
    std::optional<std::string> longPathName(const std::string& path) override {
        auto it = longPaths.find(path);
        return it == longPaths.end() ? path : it->second;
    }

    platform::OsVersion osVersion{6, 1, 7601, 2};
    std::optional<platform::OsVersion> kernel;  // nothing: the kernel says what the program is told
    std::vector<std::string> programFiles{"C:\\Program Files", "C:\\Program Files (x86)"};
    std::map<std::string, std::string> longPaths;
    std::string systemDirectory = "C:\\Windows\\system32";
    double twipsX = 15;  // the screen: 1440 / DPI
    platform::Rect workAreaRect{0, 0, 1024, 738};
    bool workAreaAvailable = true;
};

}  // namespace qmx::fakes
