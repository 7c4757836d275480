#pragma once

#include "platform/system.h"

namespace qmx::win32 {

class Win32System : public platform::System {
public:
    platform::OsVersion version() override;
    platform::OsVersion kernelVersion() override;
    std::string systemDirectoryBuffer(std::size_t bufferChars) override;
    bool workArea(platform::Rect& area) override;
    std::vector<std::string> programFilesFolders() override;
    std::optional<std::string> longPathName(const std::string& path) override;
};

}  // namespace qmx::win32
