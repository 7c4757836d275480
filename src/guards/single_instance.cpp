#include "guards/single_instance.h"

#include <exception>

#include "common/failure_report.h"
#include "common/paths.h"
#include "common/runtime_error.h"

namespace qmx::guards {

namespace {
constexpr std::size_t kMaxListed = 1001;
constexpr std::size_t kNameBufferChars = 260;
}  // namespace

SingleInstance::SingleInstance(platform::Processes& processes, platform::WindowSystem& windows,
                               ProgramEnd& programEnd, OsInfo& os)
    : processes_(processes), windows_(windows), programEnd_(programEnd), os_(os) {}

void SingleInstance::CreateAppMutex() {
    processes_.createMutex("qmx");
}

// A failing enumeration is reported; the list keeps what it had, and start-up goes on.
void SingleInstance::GetProcessIDs() {
    reportingFailures(windows_, platform::kNoWindow, kMbIconExclamation, [&] {
        std::uint32_t cb = 8;
        std::uint32_t cbNeeded = 96;
        std::vector<std::uint32_t> ids;
        // Grow the buffer until the system returns fewer bytes than offered. The array keeps
        // one zero element beyond the offered size, so a zero always ends the returned list.
        while (cb <= cbNeeded) {
            cb *= 2;
            ids.assign(cb / 4 + 1, 0);
            if (!processes_.enumProcesses(std::span(ids.data(), cb / 4), cbNeeded)) {
                throw RuntimeError("Process list unavailable");
            }
        }
        list1_.push_back(ids[0]);
        for (std::size_t i = 1; i < kMaxListed && i < ids.size(); ++i) {
            if (ids[i] == 0) break;
            list1_.push_back(ids[i]);
        }
    });
}

std::string SingleInstance::expectedPath() {
    return folderOf(processes_.ownExecutablePath()) + "\\qmx.exe";
}

void SingleInstance::CheckPrevInstance(std::uint32_t myProcessId) {
    const std::string expected = expectedPath();
    int processCount = 0;
    for (std::uint32_t id : list1_) {
        if (id == 0) continue;
        // Since Windows Vista a copy running elevated can be queried only with the limited
        // right; its path then reads the same way.
        const auto path = os_.osMajor >= 6 ? processes_.imagePath(id, kNameBufferChars)
                                           : processes_.executablePath(id, kNameBufferChars);
        if (!path) continue;
        if (*path == expected) ++processCount;
        if (processCount == 2) programEnd_.end(myProcessId);
    }
}

}  // namespace qmx::guards
