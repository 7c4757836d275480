#include "settings/startup_entry.h"

#include <array>
#include <memory>

#include "common/app_title.h"
#include "common/failure_report.h"
#include "common/paths.h"
#include "common/program_end.h"
#include "common/runtime_error.h"
#include "settings/registry_access.h"

namespace qmx::settings {

namespace {
using platform::kRegistryNoError;
using platform::RegistryRoot;
}  // namespace

StartupEntry::StartupEntry(platform::Registry& registry, platform::Processes& processes,
                           platform::WindowSystem& windows)
    : registry_(registry), processes_(processes), windows_(windows) {}

std::string StartupEntry::commandFor(const std::string& executablePath) {
    std::string folder = folderOf(executablePath);
    // The folder as the system names it: a drive root keeps its separator ("C:\").
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    // With no backslash, npos + 1 is 0: the whole text is the file name.
    const std::string file = executablePath.substr(executablePath.find_last_of('\\') + 1);
    const auto dot = file.find_last_of('.');
    const std::string name = dot == std::string::npos ? file : file.substr(0, dot);
    const std::string path = folder + "\\" + name + ".exe";
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

void StartupEntry::setStartupOn() {
    reportingFailures(windows_, platform::kNoWindow, kMbIconExclamation, [&] {
        auto key =
            openExistingKey(registry_, RegistryRoot::LocalMachine, kRunKey, platform::kKeyWrite);
        if (!key) return;
        const std::string data = commandFor(processes_.ownExecutablePath());
        key->setValue(kAppTitle, platform::kRegSz, textData(data));
    });
}

void StartupEntry::setStartupOff() {
    reportingFailures(windows_, platform::kNoWindow, kMbIconExclamation, [&] {
        auto key =
            openExistingKey(registry_, RegistryRoot::LocalMachine, kRunKey, platform::kKeyWrite);
        if (!key) return;
        key->deleteValue(kAppTitle);
    });
}

void StartupEntry::GetStartupStat() {
    reportingFailures(windows_, platform::kNoWindow, kMbIconExclamation, [&] {
        auto key =
            openExistingKey(registry_, RegistryRoot::LocalMachine, kRunKey, platform::kKeyRead);
        if (!key) return;
        std::array<std::uint8_t, 255> buffer;
        buffer.fill(' ');
        std::uint32_t size = buffer.size();
        startupStat = key->queryValue(kAppTitle, buffer, size) == kRegistryNoError ? 1 : 0;
    });
}

}  // namespace qmx::settings
