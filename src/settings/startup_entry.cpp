#include "settings/startup_entry.h"

#include <array>
#include <memory>

#include "common/app_title.h"
#include "common/failure_report.h"
#include "common/program_end.h"
#include "common/runtime_error.h"

namespace qmx::settings {

namespace {
using platform::kRegistryNoError;
using platform::RegistryRoot;
}  // namespace

StartupEntry::StartupEntry(platform::Registry& registry, platform::Processes& processes,
                           platform::WindowSystem& windows)
    : registry_(registry), processes_(processes), windows_(windows) {}

std::string StartupEntry::commandFor(const std::string& executablePath) {
    const auto slash = executablePath.find_last_of('\\');
    std::string folder = slash == std::string::npos ? "" : executablePath.substr(0, slash);
    // The folder as the system names it: a drive root keeps its separator ("C:\").
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    const std::string file =
        slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    const auto dot = file.find_last_of('.');
    const std::string name = dot == std::string::npos ? file : file.substr(0, dot);
    const std::string path = folder + "\\" + name + ".exe";
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

void StartupEntry::setStartupOn() {
    reportingFailures(windows_, kMbIconExclamation, [&] {
        std::unique_ptr<platform::RegistryKey> key;
        if (registry_.openKey(RegistryRoot::LocalMachine, kRunKey, platform::kKeyWrite, key) !=
            kRegistryNoError) {
            return;
        }
        const std::string data = commandFor(processes_.ownExecutablePath());
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
        key->setValue(kAppTitle, platform::kRegSz, {bytes, data.size()});
    });
}

void StartupEntry::setStartupOff() {
    reportingFailures(windows_, kMbIconExclamation, [&] {
        std::unique_ptr<platform::RegistryKey> key;
        if (registry_.openKey(RegistryRoot::LocalMachine, kRunKey, platform::kKeyWrite, key) !=
            kRegistryNoError) {
            return;
        }
        key->deleteValue(kAppTitle);
    });
}

void StartupEntry::GetStartupStat() {
    reportingFailures(windows_, kMbIconExclamation, [&] {
        std::unique_ptr<platform::RegistryKey> key;
        if (registry_.openKey(RegistryRoot::LocalMachine, kRunKey, platform::kKeyRead, key) !=
            kRegistryNoError) {
            return;
        }
        std::array<std::uint8_t, 255> buffer;
        buffer.fill(' ');
        std::uint32_t size = buffer.size();
        startupStat = key->queryValue(kAppTitle, buffer, size) == kRegistryNoError ? 1 : 0;
    });
}

}  // namespace qmx::settings
