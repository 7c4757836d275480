#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/program_end.h"
#include "platform/message_boxes.h"
#include "platform/processes.h"
#include "system_checks/os_info.h"

namespace qmx::system_checks {

// Only one copy runs per logon session: a named mutex marks a running copy, and this
// executable's instance lock (one per full path, letter case included, in the session's
// namespace) lets the first copy run without a scan; of copies started at the same moment
// exactly one gets it. Where the lock is held or cannot be made, a scan of the running processes
// of this session ends this copy when another process runs the same executable file.
class SingleInstance {
public:
    SingleInstance(platform::Processes& processes, platform::MessageBoxes& messageBoxes,
                   ProgramEnd& programEnd, OsInfo& os);

    void CreateAppMutex();
    // True when this copy got the lock: no other copy runs. False when the scan has to tell.
    bool ClaimInstance(std::uint32_t myProcessId);
    // Lists the running processes' identifiers (at most 1001).
    void GetProcessIDs();
    // Ends the program with `myProcessId` as exit code when another copy runs.
    void CheckPrevInstance(std::uint32_t myProcessId);

    // The lock's name for an executable's path.
    static std::string lockName(const std::string& executablePath);

private:
    std::optional<std::string> pathOf(std::uint32_t processId);
    const std::string& ownPath(std::uint32_t myProcessId);

    platform::Processes& processes_;
    platform::MessageBoxes& messageBoxes_;
    ProgramEnd& programEnd_;
    OsInfo& os_;
    std::vector<std::uint32_t> list1_;
    std::optional<std::string> ownPath_;  // read once, as the system reports it
};

}  // namespace qmx::system_checks
