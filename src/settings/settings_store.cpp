#include "settings/settings_store.h"

#include <array>
#include <cstring>
#include <exception>
#include <memory>

#include "common/failure_report.h"
#include "common/program_end.h"
#include "common/runtime_error.h"
#include "settings/registry_access.h"

namespace qmx::settings {

namespace {
using platform::kRegistryNoError;

}  // namespace

bool isVistaSkin(const std::string& skin) {
    return skin.substr(0, 5) == "vista";
}

SettingsStore::SettingsStore(platform::Registry& registry, platform::MessageBoxes& messageBoxes)
    : registry_(registry), messageBoxes_(messageBoxes) {}

std::int32_t SettingsStore::readFlag(const char* name) {
    std::int32_t result = 0;
    reportingFailures(messageBoxes_, platform::kNoWindow, kMbIconInformation, [&] {
        auto key = openExistingKey(registry_, platform::RegistryRoot::CurrentUser, kSettingsKey,
                                   platform::kKeyRead);
        if (!key) return;
        std::array<std::uint8_t, 4> buffer{};
        std::uint32_t size = buffer.size();
        if (key->queryValue(name, buffer, size) == kRegistryNoError) {
            std::memcpy(&result, buffer.data(), sizeof(result));
        }
    });
    return result;
}

void SettingsStore::writeFlag(const char* name, std::uint32_t value) {
    reportingFailures(messageBoxes_, platform::kNoWindow, kMbIconInformation, [&] {
        auto key = keyForWriting(registry_, platform::RegistryRoot::CurrentUser, kSettingsKey);
        if (!key) return;
        std::array<std::uint8_t, 4> data{};
        std::memcpy(data.data(), &value, sizeof(value));
        key->setValue(name, platform::kRegDword, data);
    });
}

std::int32_t SettingsStore::GetOnTopStat() {
    return readFlag("ontopstat");
}
void SettingsStore::setOnTopOn() {
    writeFlag("ontopstat", 1);
}
void SettingsStore::setOnTopOff() {
    writeFlag("ontopstat", 0);
}
std::int32_t SettingsStore::GetShadowStat() {
    return readFlag("shadow");
}
void SettingsStore::setShadowOn() {
    writeFlag("shadow", 1);
}
void SettingsStore::setShadowOff() {
    writeFlag("shadow", 0);
}

std::uint32_t SettingsStore::GetHotKey() {
    return static_cast<std::uint32_t>(readFlag("hotkey"));
}
void SettingsStore::setHotKey(std::uint32_t value) {
    writeFlag("hotkey", value);
}
void SettingsStore::removeHotKey() {
    reportingFailures(messageBoxes_, platform::kNoWindow, kMbIconInformation, [&] {
        auto key = openExistingKey(registry_, platform::RegistryRoot::CurrentUser, kSettingsKey,
                                   platform::kKeyWrite);
        if (key) key->deleteValue("hotkey");
    });
}

// Set by hand or by a support script, never by the program: any other value or type, and a
// key that cannot be read, leave the log off without a word.
bool SettingsStore::logWanted() {
    auto key = openExistingKey(registry_, platform::RegistryRoot::CurrentUser, kSettingsKey,
                               platform::kKeyRead);
    std::uint32_t value = 0;
    return key && key->queryDword("log", value) == kRegistryNoError && value == 1;
}

std::string SettingsStore::GetSkin() {
    std::string result;
    reportingFailures(messageBoxes_, platform::kNoWindow, kMbIconExclamation, [&] {
        auto key = openExistingKey(registry_, platform::RegistryRoot::CurrentUser, kSettingsKey,
                                   platform::kKeyRead);
        if (!key) return;
        std::array<std::uint8_t, 255> buffer;
        buffer.fill(' ');
        std::uint32_t size = buffer.size();
        if (key->queryValue("skin", buffer, size) == kRegistryNoError) {
            // The bytes delivered, a stored terminating NUL included.
            result.assign(reinterpret_cast<const char*>(buffer.data()),
                          std::min<std::size_t>(size, buffer.size()));
        }
    });
    return result;
}

void SettingsStore::writeSkin(const char* name) {
    reportingFailures(messageBoxes_, platform::kNoWindow, kMbIconExclamation, [&] {
        skinName_ = name;
        auto key = keyForWriting(registry_, platform::RegistryRoot::CurrentUser, kSettingsKey);
        if (!key) return;
        key->setValue("skin", platform::kRegSz, textData(skinName_));
    });
}

void SettingsStore::setSkinVista() {
    writeSkin("vista");
}
void SettingsStore::setSkinClassic() {
    writeSkin("classic");
}

}  // namespace qmx::settings
