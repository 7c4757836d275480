#pragma once

#include <cstdint>
#include <string>

#include "platform/system.h"

namespace qmx::system_checks {

inline constexpr std::uint32_t kPlatformNt = 2;
inline constexpr const char* kUnsupportedSystem =
    "Operating System Does not support. This program only runs in Windows 2000 and XP.";

// The system's version and folder, as the program last read them.
class OsInfo {
public:
    explicit OsInfo(platform::System& system) : system_(system) {}

    // Reads the version record into osPlatform and osMajor.
    void GetOSVersion();
    // Reads the system folder into sysDir; fails when the path does not fit its 255-character
    // buffer, leaving sysDir as it was.
    void GetSysDir();
    bool isNtFamily() const { return osPlatform >= kPlatformNt; }

    std::uint32_t osPlatform = 0;
    std::uint32_t osMajor = 0;
    std::string sysDir;

private:
    platform::System& system_;
};

}  // namespace qmx::system_checks
