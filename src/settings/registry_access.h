#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "platform/registry.h"

namespace qmx::settings {

// Opens an existing key; nothing when the key is missing or may not be opened that way.
inline std::unique_ptr<platform::RegistryKey> openExistingKey(platform::Registry& registry,
                                                              platform::RegistryRoot root,
                                                              std::string_view subkey,
                                                              std::uint32_t access) {
    std::unique_ptr<platform::RegistryKey> key;
    if (registry.openKey(root, subkey, access, key) != platform::kRegistryNoError) return nullptr;
    return key;
}

// Opens a key for writing, creating it when it is missing; nothing when that is not allowed.
inline std::unique_ptr<platform::RegistryKey> keyForWriting(platform::Registry& registry,
                                                            platform::RegistryRoot root,
                                                            std::string_view subkey) {
    std::unique_ptr<platform::RegistryKey> key;
    if (registry.createKey(root, subkey, platform::kKeyWrite, key) != platform::kRegistryNoError) {
        return nullptr;
    }
    return key;
}

// A text's single-byte characters as registry data, without a terminating NUL.
inline std::span<const std::uint8_t> textData(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace qmx::settings
