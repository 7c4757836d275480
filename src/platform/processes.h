#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qmx::platform {

// Processes: this process's identity, the system's process list, other processes' executable
// paths, a named mutex, a claimed instance lock and the end of this process. The mutex and the
// lock, once made, are held until the process ends. Paths are UTF-8.

enum class InstanceClaim {
    Claimed,        // no running process held the lock: this one holds it now
    HeldElsewhere,  // a running process holds it
    Unavailable,    // the system could not make it
};

class Processes {
public:
    Processes() = default;
    Processes(const Processes&) = delete;
    Processes& operator=(const Processes&) = delete;
    virtual ~Processes() = default;

    virtual std::uint32_t currentProcessId() = 0;
    // Full path of this program's executable, as the system reports it.
    virtual std::string ownExecutablePath() = 0;
    virtual void createMutex(std::string_view name) = 0;
    // Claims the lock `name` of this logon session for the rest of this process's life. A
    // process that held it and ended (or is ending) leaves it free.
    virtual InstanceClaim claimInstance(std::string_view name) = 0;
    // Writes up to ids.size() * 4 bytes of process identifiers into `ids` and sets
    // `bytesReturned`. False when the enumeration failed.
    virtual bool enumProcesses(std::span<std::uint32_t> ids, std::uint32_t& bytesReturned) = 0;
    // Path of the executable module of process `processId`, read into a name buffer of
    // `bufferChars` characters: the text before the first NUL, or empty text when the buffer
    // holds no NUL. Nothing when the process cannot be opened.
    virtual std::optional<std::string> executablePath(std::uint32_t processId,
                                                      std::size_t bufferChars) = 0;
    // The same, read with the limited query right that Windows Vista and later grant across
    // integrity levels (an elevated process seen from a normal one).
    virtual std::optional<std::string> imagePath(std::uint32_t processId,
                                                 std::size_t bufferChars) = 0;
    // The logon session a process runs in (each signed-in user has one); nothing when the
    // system does not tell.
    virtual std::optional<std::uint32_t> sessionOf(std::uint32_t processId) = 0;
    [[noreturn]] virtual void exitProcess(std::uint32_t exitCode) = 0;
};

}  // namespace qmx::platform
