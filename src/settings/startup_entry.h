#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/message_boxes.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace qmx::settings {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The installer's installed-programs entry; its InstallLocation names the installation's folder.
inline constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VeltoVolumeController";
inline constexpr const char* kMachineEntryStays =
    "Velto Volume Controller could not remove its start-up entry for all users of this "
    "computer, so it will still start when Windows starts. To remove the entry, run Velto Volume "
    "Controller once as an administrator and clear \"Run when Windows starts.\" in Options, or "
    "uninstall the program.";

// The entry that starts the program at every logon: a value named after the application title
// in a Run key, holding the running executable's long path. The installation for everyone (the
// folder the machine's installed-programs entry names, in Program Files, which its installer
// made one only administrators can change) puts it into the machine-wide Run key where this
// user may write there; a copy anywhere else (a per-user installation, a portable copy, another
// folder of Program Files), or a user who may not write the machine-wide key (a standard user,
// or UAC without elevation), puts it into the user's own Run key: every user's logon never
// starts a program anyone could replace.
class StartupEntry {
public:
    StartupEntry(platform::Registry& registry, platform::Processes& processes,
                 platform::System& system, platform::MessageBoxes& messageBoxes);

    void setStartupOn();
    // Removes the entry from each Run key that holds it; one that stays (machine-wide, without
    // the right to change it) is reported in a message owned by `owner`.
    void setStartupOff(platform::WindowId owner);
    // Sets startupStat to 1 when either Run key holds the entry, 0 when neither does; leaves it
    // as it was when no Run key can be opened.
    void GetStartupStat();
    // Nothing before the first test.
    std::optional<std::int32_t> startupStat;

    // The entry's data for an executable: its folder, "\", its name with the extension ".exe",
    // in double quotes when it contains a space (Windows runs the data as a command line).
    static std::string commandFor(const std::string& executablePath);

private:
    std::optional<std::string> entryIn(platform::RegistryRoot root);
    std::string longForm(const std::string& path);
    bool inProgramFiles(const std::string& executablePath);
    bool isInstallationForEveryone(const std::string& executablePath);
    void removeEntryFor(platform::RegistryRoot root, const std::string& data);
    void writeUserEntry(const std::string& data);

    platform::Registry& registry_;
    platform::Processes& processes_;
    platform::System& system_;
    platform::MessageBoxes& messageBoxes_;
};

}  // namespace qmx::settings
