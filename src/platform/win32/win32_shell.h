#pragma once

#include "platform/shell.h"
#include "platform/win32/icon_store.h"

namespace qmx::win32 {

class Win32Shell : public platform::Shell {
public:
    explicit Win32Shell(const IconStore& icons) : icons_(icons) {}
    bool notifyIcon(platform::TrayMessage message, const platform::TrayIconData& data) override;
    std::uint32_t startProgram(std::string_view commandLine) override;
    std::string errorDescription(std::uint32_t error) override;

private:
    const IconStore& icons_;
};

}  // namespace qmx::win32
