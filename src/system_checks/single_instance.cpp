#include "system_checks/single_instance.h"

#include <exception>

#include "common/failure_report.h"
#include "common/paths.h"
#include "common/runtime_error.h"

namespace qmx::system_checks {

namespace {
constexpr std::size_t kMaxListed = 1001;
constexpr std::size_t kNameBufferChars = 260;
}  // namespace

SingleInstance::SingleInstance(platform::Processes& processes, platform::MessageBoxes& messageBoxes,
                               ProgramEnd& programEnd, OsInfo& os)
    : processes_(processes), messageBoxes_(messageBoxes), programEnd_(programEnd), os_(os) {}

void SingleInstance::CreateAppMutex() {
    processes_.createMutex("qmx");
}

// A failing enumeration is reported; the list keeps what it had, and start-up goes on.
void SingleInstance::GetProcessIDs() {
    reportingFailures(messageBoxes_, platform::kNoWindow, kMbIconExclamation, [&] {
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

// A process's executable path as the system reports it. Since Windows Vista a copy running
// elevated can be queried only with the limited right; its path then reads the same way.
std::optional<std::string> SingleInstance::pathOf(std::uint32_t processId) {
    return os_.osMajor >= 6 ? processes_.imagePath(processId, kNameBufferChars)
                            : processes_.executablePath(processId, kNameBufferChars);
}

// This program's path read the way the other processes' are: through a substituted drive, a
// mapped network drive or a junction the system reports the resolved path for every copy.
const std::string& SingleInstance::ownPath(std::uint32_t myProcessId) {
    if (!ownPath_) {
        const auto path = pathOf(myProcessId);
        ownPath_ = path && !path->empty() ? *path : processes_.ownExecutablePath();
    }
    return *ownPath_;
}

std::string SingleInstance::lockName(const std::string& executablePath) {
    std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a over the path's bytes
    for (unsigned char byte : executablePath) {
        hash = (hash ^ byte) * 0x100000001b3u;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name = "qmx-instance-";
    for (int shift = 60; shift >= 0; shift -= 4) name += kDigits[(hash >> shift) & 0xF];
    return name;
}

bool SingleInstance::ClaimInstance(std::uint32_t myProcessId) {
    switch (processes_.claimInstance(lockName(ownPath(myProcessId)))) {
        case platform::InstanceClaim::Claimed:
            return true;
        case platform::InstanceClaim::HeldElsewhere:
            // Any process of this session can hold the name (it follows from the path): the
            // scan tells whether a copy holds it.
        case platform::InstanceClaim::Unavailable:
            break;
    }
    return false;
}

void SingleInstance::CheckPrevInstance(std::uint32_t myProcessId) {
    const std::string expected = folderOf(ownPath(myProcessId)) + "\\qmx.exe";
    // Only copies of this logon session count: another user's copy is theirs (and on XP an
    // administrator's scan could otherwise end it).
    const auto mySession = processes_.sessionOf(myProcessId);
    int processCount = 0;
    for (std::uint32_t id : list1_) {
        if (id == 0) continue;
        if (!mySession || processes_.sessionOf(id) != mySession) continue;
        const auto path = pathOf(id);
        if (!path) continue;
        if (*path == expected) ++processCount;
        if (processCount == 2) programEnd_.end(myProcessId, EndCause::SecondCopy);
    }
}

}  // namespace qmx::system_checks
