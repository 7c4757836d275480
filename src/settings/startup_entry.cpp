#include "settings/startup_entry.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <string_view>

#include "common/app_title.h"
#include "common/failure_report.h"
#include "common/paths.h"
#include "common/program_end.h"
#include "common/runtime_error.h"
#include "settings/registry_access.h"

namespace qmx::settings {

namespace {
using platform::kRegistryNoError;
constexpr std::uint32_t kMoreData = 234;  // ERROR_MORE_DATA: the value is there, only longer
using platform::RegistryRoot;
}  // namespace

StartupEntry::StartupEntry(platform::Registry& registry, platform::Processes& processes,
                           platform::System& system, platform::MessageBoxes& messageBoxes)
    : registry_(registry), processes_(processes), system_(system), messageBoxes_(messageBoxes) {}

namespace {
bool sameLetters(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}
}  // namespace

bool StartupEntry::inProgramFiles(const std::string& executablePath) {
    if (executablePath.find("\\..\\") != std::string::npos) return false;
    for (const std::string& folder : system_.programFilesFolders()) {
        if (!folder.empty() && executablePath.size() > folder.size() + 1 &&
            executablePath[folder.size()] == '\\' &&
            sameLetters(std::string_view(executablePath).substr(0, folder.size()), folder)) {
            return true;
        }
    }
    return false;
}

std::string StartupEntry::longForm(const std::string& path) {
    return system_.longPathName(path).value_or(path);
}

// The folder is compared as the file system names it: the installer may have been given it by
// its short name (C:\PROGRA~1\...) and the program started by its long one, or the other way.
bool StartupEntry::isInstallationForEveryone(const std::string& executablePath) {
    if (!inProgramFiles(executablePath)) return false;
    auto key =
        openExistingKey(registry_, RegistryRoot::LocalMachine, kUninstallKey, platform::kKeyRead);
    std::string installed;
    if (!key || key->queryText("InstallLocation", installed) != kRegistryNoError) return false;
    installed = longForm(installed);
    while (!installed.empty() && installed.back() == '\\') installed.pop_back();
    return sameLetters(folderOf(executablePath), installed);
}

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

// One entry per user: where the machine-wide entry already starts this executable nothing is
// added for the user, and writing the machine-wide entry removes the user's own one for it. Any
// copy but the installation for everyone gets the user's own entry, and a machine-wide one for
// it goes. The entry names the executable by its long path, as the uninstaller looks for it.
void StartupEntry::setStartupOn() {
    reportingFailures(messageBoxes_, platform::kNoWindow, kMbIconExclamation, [&] {
        const std::string path = longForm(processes_.ownExecutablePath());
        const std::string data = commandFor(path);
        if (!isInstallationForEveryone(path)) {
            removeEntryFor(RegistryRoot::LocalMachine, data);
            writeUserEntry(data);
            return;
        }
        if (entryIn(RegistryRoot::LocalMachine) == data) return;
        auto machine =
            openExistingKey(registry_, RegistryRoot::LocalMachine, kRunKey, platform::kKeyWrite);
        if (machine && machine->setText(kAppTitle, data) == kRegistryNoError) {
            removeEntryFor(RegistryRoot::CurrentUser, data);
            return;
        }
        writeUserEntry(data);
    });
}

// Removes a Run key's entry when it holds `data`; another copy's entry stays.
void StartupEntry::removeEntryFor(RegistryRoot root, const std::string& data) {
    if (entryIn(root) != data) return;
    if (auto key = openExistingKey(registry_, root, kRunKey, platform::kKeyWrite)) {
        key->deleteValue(kAppTitle);
    }
}

void StartupEntry::writeUserEntry(const std::string& data) {
    if (auto user = keyForWriting(registry_, RegistryRoot::CurrentUser, kRunKey)) {
        user->setText(kAppTitle, data);
    }
}

// The command a Run key's entry holds; nothing when there is none.
std::optional<std::string> StartupEntry::entryIn(RegistryRoot root) {
    auto key = openExistingKey(registry_, root, kRunKey, platform::kKeyRead);
    std::string data;
    if (!key || key->queryText(kAppTitle, data) != kRegistryNoError) return std::nullopt;
    return data;
}

namespace {
// Queries the program's entry in a Run key with room for 255 bytes: the query's result, or
// nothing when the key cannot be opened.
std::optional<std::uint32_t> queryEntry(platform::Registry& registry, RegistryRoot root) {
    auto key = openExistingKey(registry, root, kRunKey, platform::kKeyRead);
    if (!key) return std::nullopt;
    std::array<std::uint8_t, 255> buffer;
    buffer.fill(' ');
    std::uint32_t size = buffer.size();
    return key->queryValue(kAppTitle, buffer, size);
}
}  // namespace

void StartupEntry::setStartupOff(platform::WindowId owner) {
    reportingFailures(messageBoxes_, owner, kMbIconExclamation, [&] {
        for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
            // An entry too long for the buffer is there all the same: it goes too.
            const auto rc = queryEntry(registry_, root);
            if (rc != kRegistryNoError && rc != kMoreData) continue;
            auto key = openExistingKey(registry_, root, kRunKey, platform::kKeyWrite);
            const bool removed = key && key->deleteValue(kAppTitle) == kRegistryNoError;
            if (!removed && root == RegistryRoot::LocalMachine) {
                messageBoxes_.messageBox(owner, kMachineEntryStays, kAppTitle, kMbIconExclamation);
            }
        }
    });
}

void StartupEntry::GetStartupStat() {
    reportingFailures(messageBoxes_, platform::kNoWindow, kMbIconExclamation, [&] {
        bool anyKey = false;
        bool found = false;
        for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
            const auto rc = queryEntry(registry_, root);
            if (!rc) continue;
            anyKey = true;
            // An entry too long for the buffer counts as absent here.
            if (*rc == kRegistryNoError) found = true;
        }
        if (anyKey) startupStat = found ? 1 : 0;
    });
}

}  // namespace qmx::settings
