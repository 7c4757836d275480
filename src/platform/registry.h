#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace qmx::platform {

// The registry: open an existing key or create one, set, query and delete its values.
// Every call returns the operating system's result code (0 success). A key is closed when its
// object is destroyed.

enum class RegistryRoot { CurrentUser, LocalMachine };

inline constexpr std::uint32_t kRegistryNoError = 0;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    virtual ~RegistryKey() = default;

    // Creates or replaces the value with `type` and exactly the bytes of `data`.
    virtual std::uint32_t setValue(std::string_view name, std::uint32_t type,
                                   std::span<const std::uint8_t> data) = 0;
    // Reads the value into `buffer`; `size` comes back as the number of bytes delivered. A
    // value that does not fit fails.
    virtual std::uint32_t queryValue(std::string_view name, std::span<std::uint8_t> buffer,
                                     std::uint32_t& size) = 0;
    // A REG_DWORD value; a value of another type or size fails with ERROR_INVALID_DATA.
    virtual std::uint32_t queryDword(std::string_view name, std::uint32_t& value) = 0;
    virtual std::uint32_t deleteValue(std::string_view name) = 0;
    // A text value (REG_SZ) written and read with the wide-character functions, given and read
    // as UTF-8: for data such as paths, which may hold characters the system's code page lacks.
    virtual std::uint32_t setText(std::string_view name, std::string_view utf8) = 0;
    virtual std::uint32_t queryText(std::string_view name, std::string& utf8) = 0;
};

class Registry {
public:
    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;
    virtual ~Registry() = default;

    virtual std::uint32_t openKey(RegistryRoot root, std::string_view subkey, std::uint32_t access,
                                  std::unique_ptr<RegistryKey>& key) = 0;
    // Opens the key, creating it (and the keys above it) when it does not exist.
    virtual std::uint32_t createKey(RegistryRoot root, std::string_view subkey,
                                    std::uint32_t access, std::unique_ptr<RegistryKey>& key) = 0;
};

}  // namespace qmx::platform
