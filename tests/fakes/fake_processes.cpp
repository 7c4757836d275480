#include "fakes/fake_processes.h"

#include <algorithm>

namespace qmx::fakes {

FakeProcesses::FakeProcesses(CallLog& log) : log_(log) {
    table.push_back({0, std::nullopt});  // the idle process, listed first as on Windows
}

void FakeProcesses::createMutex(std::string_view name) {
    log_.add("processes.createMutex " + std::string(name));
    mutexes.emplace_back(name);
}

platform::InstanceClaim FakeProcesses::claimInstance(std::string_view name) {
    log_.add("processes.claimInstance " + std::string(name));
    claimedLocks.emplace_back(name);
    return instanceClaim;
}

bool FakeProcesses::enumProcesses(std::span<std::uint32_t> ids, std::uint32_t& bytesReturned) {
    log_.add("processes.enum " + std::to_string(ids.size() * 4));
    if (enumFails) return false;
    const std::size_t n = std::min(ids.size(), table.size());
    for (std::size_t i = 0; i < n; ++i) ids[i] = table[i].id;
    bytesReturned = static_cast<std::uint32_t>(n * 4);
    return true;
}

std::optional<std::string> FakeProcesses::imagePath(std::uint32_t processId,
                                                    std::size_t bufferChars) {
    opened.push_back(processId);
    std::optional<std::string> path;
    for (const auto& entry : table) {
        if (entry.id == processId) path = entry.path;
    }
    if (processId == ownId) path = ownSystemPath.value_or(ownPath);
    if (path && path->size() >= bufferChars) return std::string();
    return path;
}

std::optional<std::string> FakeProcesses::executablePath(std::uint32_t processId,
                                                         std::size_t bufferChars) {
    if (elevated.count(processId)) return std::nullopt;
    opened.push_back(processId);
    std::optional<std::string> path;
    if (processId == ownId) {
        path = ownSystemPath.value_or(ownPath);
    } else {
        for (const auto& entry : table) {
            if (entry.id == processId) path = entry.path;
        }
    }
    // A path that does not fit the buffer with its NUL arrives cut short.
    if (path && path->size() >= bufferChars) path = path->substr(0, bufferChars - 1);
    return path;
}

void FakeProcesses::exitProcess(std::uint32_t exitCode) {
    log_.add("processes.exit " + std::to_string(exitCode));
    throw ProcessExit{exitCode};
}

}  // namespace qmx::fakes
