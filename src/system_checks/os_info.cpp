#include "system_checks/os_info.h"

#include "common/runtime_error.h"

namespace qmx::system_checks {

void OsInfo::GetOSVersion() {
    const platform::OsVersion version = system_.version();
    osPlatform = version.platformId;
    osMajor = version.major;
}

void OsInfo::GetSysDir() {
    const std::string buffer = system_.systemDirectoryBuffer(255);
    const auto nul = buffer.find('\0');
    if (nul == std::string::npos) throw RuntimeError("Invalid procedure call or argument");
    sysDir = buffer.substr(0, nul);
}

}  // namespace qmx::system_checks
