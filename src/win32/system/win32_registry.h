#pragma once

#include "platform/registry.h"

namespace qmx::win32 {

class Win32Registry : public platform::Registry {
public:
    std::uint32_t openKey(platform::RegistryRoot root, std::string_view subkey,
                          std::uint32_t access,
                          std::unique_ptr<platform::RegistryKey>& key) override;
    std::uint32_t createKey(platform::RegistryRoot root, std::string_view subkey,
                            std::uint32_t access,
                            std::unique_ptr<platform::RegistryKey>& key) override;
};

}  // namespace qmx::win32
