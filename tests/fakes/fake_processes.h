#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/processes.h"

namespace qmx::fakes {

// A simulated process table. Each listed process has an executable path, or none when it cannot
// be opened. Ending the process throws ProcessExit so that the test unwinds.
class FakeProcesses : public platform::Processes {
public:
    explicit FakeProcesses(CallLog& log);

    std::uint32_t currentProcessId() override { return ownId; }
    std::string ownExecutablePath() override { return ownPath; }
    void createMutex(std::string_view name) override;
    platform::InstanceClaim claimInstance(std::string_view name) override;
    bool enumProcesses(std::span<std::uint32_t> ids, std::uint32_t& bytesReturned) override;
    std::optional<std::string> executablePath(std::uint32_t processId,
                                              std::size_t bufferChars) override;
    std::optional<std::string> imagePath(std::uint32_t processId, std::size_t bufferChars) override;
    std::optional<std::uint32_t> sessionOf(std::uint32_t processId) override {
        const auto it = sessions.find(processId);
        return it == sessions.end() ? 1 : it->second;
    }
    [[noreturn]] void exitProcess(std::uint32_t exitCode) override;

    void addProcess(std::uint32_t id, std::optional<std::string> path) {
        table.push_back({id, std::move(path)});
    }

    std::uint32_t ownId = 4242;
    std::string ownPath = "C:\\Program Files\\Velto\\qmx.exe";
    // The own path as the process queries report it, when it differs from the module's name
    // (a substituted drive, a junction).
    std::optional<std::string> ownSystemPath;
    // The answer to claimInstance; by default the system cannot make the lock and the scan
    // decides.
    platform::InstanceClaim instanceClaim = platform::InstanceClaim::Unavailable;
    std::vector<std::string> claimedLocks;
    struct Entry {
        std::uint32_t id;
        std::optional<std::string> path;
    };
    std::vector<Entry> table;  // in enumeration order; the own process is added by the constructor
    bool enumFails = false;
    // Elevated processes: a normal process may query their image name only with the limited
    // right (imagePath), not open them for executablePath.
    std::set<std::uint32_t> elevated;
    std::map<std::uint32_t, std::uint32_t> sessions;  // every other process runs in session 1
    std::vector<std::string> mutexes;
    std::vector<std::uint32_t> opened;  // identifiers whose path was asked for

private:
    CallLog& log_;
};

}  // namespace qmx::fakes
