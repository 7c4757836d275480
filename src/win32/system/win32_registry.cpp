#include "win32/system/win32_registry.h"

#include <windows.h>

#include <string>

#include "win32/system/unique_handle.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

namespace {

class Win32RegistryKey : public platform::RegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}

    std::uint32_t setValue(std::string_view name, std::uint32_t type,
                           std::span<const std::uint8_t> data) override {
        return RegSetValueExA(key_.get(), std::string(name).c_str(), 0, type, data.data(),
                              static_cast<DWORD>(data.size()));
    }

    std::uint32_t queryValue(std::string_view name, std::span<std::uint8_t> buffer,
                             std::uint32_t& size) override {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>(buffer.size());
        const LSTATUS rc = RegQueryValueExA(key_.get(), std::string(name).c_str(), nullptr, &type,
                                            buffer.data(), &bytes);
        size = bytes;
        return rc;
    }

    std::uint32_t queryDword(std::string_view name, std::uint32_t& value) override {
        DWORD type = 0;
        DWORD data = 0;
        DWORD bytes = sizeof data;
        const LSTATUS rc = RegQueryValueExA(key_.get(), std::string(name).c_str(), nullptr, &type,
                                            reinterpret_cast<BYTE*>(&data), &bytes);
        if (rc == ERROR_MORE_DATA) return ERROR_INVALID_DATA;
        if (rc != ERROR_SUCCESS) return rc;
        if (type != REG_DWORD || bytes != sizeof data) return ERROR_INVALID_DATA;
        value = data;
        return ERROR_SUCCESS;
    }

    std::uint32_t deleteValue(std::string_view name) override {
        return RegDeleteValueA(key_.get(), std::string(name).c_str());
    }

    std::uint32_t setText(std::string_view name, std::string_view utf8) override {
        const std::wstring text = widen(utf8);
        return RegSetValueExW(key_.get(), widen(name).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    std::uint32_t queryText(std::string_view name, std::string& utf8) override {
        const std::wstring valueName = widen(name);
        DWORD type = 0;
        DWORD bytes = 0;
        LSTATUS rc =
            RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes);
        if (rc != ERROR_SUCCESS) return rc;
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        rc = RegQueryValueExW(key_.get(), valueName.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(text.data()), &bytes);
        if (rc != ERROR_SUCCESS) return rc;
        // The stored text may or may not end in a NUL.
        text.resize(bytes / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        utf8 = utf8Of(text);
        return ERROR_SUCCESS;
    }

private:
    UniqueRegistryKey key_;
};

}  // namespace

namespace {
HKEY rootKeyOf(platform::RegistryRoot root) {
    return root == platform::RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
}  // namespace

std::uint32_t Win32Registry::createKey(platform::RegistryRoot root, std::string_view subkey,
                                       std::uint32_t access,
                                       std::unique_ptr<platform::RegistryKey>& key) {
    HKEY opened = nullptr;
    const LSTATUS rc = RegCreateKeyExA(rootKeyOf(root), std::string(subkey).c_str(), 0, nullptr,
                                       REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr);
    if (rc == ERROR_SUCCESS) key = std::make_unique<Win32RegistryKey>(opened);
    return rc;
}

std::uint32_t Win32Registry::openKey(platform::RegistryRoot root, std::string_view subkey,
                                     std::uint32_t access,
                                     std::unique_ptr<platform::RegistryKey>& key) {
    HKEY rootKey = rootKeyOf(root);
    HKEY opened = nullptr;
    const LSTATUS rc = RegOpenKeyExA(rootKey, std::string(subkey).c_str(), 0, access, &opened);
    if (rc == ERROR_SUCCESS) key = std::make_unique<Win32RegistryKey>(opened);
    return rc;
}

}  // namespace qmx::win32
