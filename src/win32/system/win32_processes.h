#pragma once

#include "platform/processes.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

class Win32Processes : public platform::Processes {
public:
    std::uint32_t currentProcessId() override;
    std::string ownExecutablePath() override;
    void createMutex(std::string_view name) override;
    platform::InstanceClaim claimInstance(std::string_view name) override;
    bool enumProcesses(std::span<std::uint32_t> ids, std::uint32_t& bytesReturned) override;
    std::optional<std::string> executablePath(std::uint32_t processId,
                                              std::size_t bufferChars) override;
    std::optional<std::string> imagePath(std::uint32_t processId, std::size_t bufferChars) override;
    std::optional<std::uint32_t> sessionOf(std::uint32_t processId) override;
    [[noreturn]] void exitProcess(std::uint32_t exitCode) override;

private:
    UniqueKernelHandle mutex_;         // held for the life of the process
    UniqueKernelHandle instanceLock_;  // owned for the life of the process
};

}  // namespace qmx::win32
