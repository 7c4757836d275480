#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/registry.h"

namespace qmx::fakes {

// A simulated registry hive: keys that exist, with typed values held as bytes. A root can be
// made read-only (no right to write or create keys there, as for a standard user's program in
// the machine-wide hive).
class FakeRegistry : public platform::Registry {
public:
    explicit FakeRegistry(CallLog& log) : log_(log) {}

    std::uint32_t openKey(platform::RegistryRoot root, std::string_view subkey,
                          std::uint32_t access,
                          std::unique_ptr<platform::RegistryKey>& key) override;
    std::uint32_t createKey(platform::RegistryRoot root, std::string_view subkey,
                            std::uint32_t access,
                            std::unique_ptr<platform::RegistryKey>& key) override;

    struct Value {
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };
    using Key = std::map<std::string, Value>;

    void createKey(platform::RegistryRoot root, const std::string& path) { keys[{root, path}]; }
    Key* find(platform::RegistryRoot root, const std::string& path);
    void setString(platform::RegistryRoot root, const std::string& path, const std::string& name,
                   const std::string& text);
    void setDword(platform::RegistryRoot root, const std::string& path, const std::string& name,
                  std::uint32_t value);

    std::map<std::pair<platform::RegistryRoot, std::string>, Key> keys;
    std::set<platform::RegistryRoot> readOnlyRoots;
    int openKeys = 0;

private:
    class OpenKey;
    CallLog& log_;
};

}  // namespace qmx::fakes
