#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/program_end.h"
#include "guards/os_info.h"
#include "platform/processes.h"
#include "platform/window_system.h"

namespace qmx::guards {

// Only one copy runs: a named mutex marks a running copy, and a scan of the running processes
// ends this copy when another process runs the same executable file (same full path, letter case
// included).
class SingleInstance {
public:
    SingleInstance(platform::Processes& processes, platform::WindowSystem& windows,
                   ProgramEnd& programEnd, OsInfo& os);

    void CreateAppMutex();
    // Lists the running processes' identifiers (at most 1001).
    void GetProcessIDs();
    // Ends the program with `myProcessId` as exit code when another copy runs.
    void CheckPrevInstance(std::uint32_t myProcessId);

    const std::vector<std::uint32_t>& listedProcesses() const { return list1_; }

private:
    std::string expectedPath();

    platform::Processes& processes_;
    platform::WindowSystem& windows_;
    ProgramEnd& programEnd_;
    OsInfo& os_;
    std::vector<std::uint32_t> list1_;
};

}  // namespace qmx::guards
