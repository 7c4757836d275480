#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/window_system.h"

namespace qmx::settings {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The machine-wide entry that starts the program at every logon: a value named after the
// application title in the Run key, holding the running executable's path. Registry failures
// are silent; the next test shows the real state.
class StartupEntry {
public:
    StartupEntry(platform::Registry& registry, platform::Processes& processes,
                 platform::WindowSystem& windows);

    void setStartupOn();
    void setStartupOff();
    // Sets startupStat to 1 when the entry exists, 0 when it does not; leaves it as it was when
    // the Run key cannot be opened.
    void GetStartupStat();
    // Nothing before the first test.
    std::optional<std::int32_t> startupStat;

    // The entry's data for an executable: its folder, "\", its name with the extension ".exe",
    // in double quotes when it contains a space (Windows runs the data as a command line).
    static std::string commandFor(const std::string& executablePath);

private:
    platform::Registry& registry_;
    platform::Processes& processes_;
    platform::WindowSystem& windows_;
};

}  // namespace qmx::settings
