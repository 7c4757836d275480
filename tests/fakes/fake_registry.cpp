#include "fakes/fake_registry.h"

#include <algorithm>
#include <cstring>

namespace qmx::fakes {

namespace {
constexpr std::uint32_t kFileNotFound = 2;
constexpr std::uint32_t kAccessDenied = 5;
constexpr std::uint32_t kMoreData = 234;
constexpr std::uint32_t kInvalidData = 13;
}  // namespace

class FakeRegistry::OpenKey : public platform::RegistryKey {
public:
    OpenKey(FakeRegistry& registry, Key& key) : registry_(registry), key_(key) {
        ++registry_.openKeys;
    }
    ~OpenKey() override { --registry_.openKeys; }

    std::uint32_t setValue(std::string_view name, std::uint32_t type,
                           std::span<const std::uint8_t> data) override {
        registry_.log_.add("registry.set " + std::string(name));
        key_[std::string(name)] = {type, {data.begin(), data.end()}};
        return 0;
    }

    std::uint32_t queryValue(std::string_view name, std::span<std::uint8_t> buffer,
                             std::uint32_t& size) override {
        auto it = key_.find(std::string(name));
        if (it == key_.end()) return kFileNotFound;
        const auto& data = it->second.data;
        if (data.size() > buffer.size()) {
            size = static_cast<std::uint32_t>(data.size());
            return kMoreData;
        }
        std::copy(data.begin(), data.end(), buffer.begin());
        size = static_cast<std::uint32_t>(data.size());
        return 0;
    }

    std::uint32_t queryDword(std::string_view name, std::uint32_t& value) override {
        auto it = key_.find(std::string(name));
        if (it == key_.end()) return kFileNotFound;
        const auto& [type, data] = it->second;
        if (type != platform::kRegDword || data.size() != sizeof value) return kInvalidData;
        std::memcpy(&value, data.data(), sizeof value);
        return 0;
    }

    std::uint32_t deleteValue(std::string_view name) override {
        registry_.log_.add("registry.delete " + std::string(name));
        return key_.erase(std::string(name)) ? 0 : kFileNotFound;
    }

    std::uint32_t setText(std::string_view name, std::string_view utf8) override {
        registry_.log_.add("registry.setText " + std::string(name));
        key_[std::string(name)] = {platform::kRegSz, {utf8.begin(), utf8.end()}};
        return 0;
    }

    std::uint32_t queryText(std::string_view name, std::string& utf8) override {
        auto it = key_.find(std::string(name));
        if (it == key_.end()) return kFileNotFound;
        if (it->second.type != platform::kRegSz) return kInvalidData;
        utf8.assign(it->second.data.begin(), it->second.data.end());
        return 0;
    }

private:
    FakeRegistry& registry_;
    Key& key_;
};

std::uint32_t FakeRegistry::openKey(platform::RegistryRoot root, std::string_view subkey,
                                    std::uint32_t access,
                                    std::unique_ptr<platform::RegistryKey>& key) {
    auto it = keys.find({root, std::string(subkey)});
    if (it == keys.end()) return kFileNotFound;
    if (access == platform::kKeyWrite && readOnlyRoots.count(root)) return kAccessDenied;
    key = std::make_unique<OpenKey>(*this, it->second);
    return 0;
}

std::uint32_t FakeRegistry::createKey(platform::RegistryRoot root, std::string_view subkey,
                                      std::uint32_t /*access*/,
                                      std::unique_ptr<platform::RegistryKey>& key) {
    if (readOnlyRoots.count(root)) return kAccessDenied;
    log_.add("registry.create " + std::string(subkey));
    key = std::make_unique<OpenKey>(*this, keys[{root, std::string(subkey)}]);
    return 0;
}

FakeRegistry::Key* FakeRegistry::find(platform::RegistryRoot root, const std::string& path) {
    auto it = keys.find({root, path});
    return it == keys.end() ? nullptr : &it->second;
}

void FakeRegistry::setString(platform::RegistryRoot root, const std::string& path,
                             const std::string& name, const std::string& text) {
    keys[{root, path}][name] = {platform::kRegSz, {text.begin(), text.end()}};
}

void FakeRegistry::setDword(platform::RegistryRoot root, const std::string& path,
                            const std::string& name, std::uint32_t value) {
    std::vector<std::uint8_t> data(4);
    std::memcpy(data.data(), &value, 4);
    keys[{root, path}][name] = {platform::kRegDword, data};
}

}  // namespace qmx::fakes
