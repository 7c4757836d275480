#pragma once

#include <windows.h>
#include "platform/shell.h"

#include <exdisp.h>

#include "win32/gui/icon_store.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

class Win32Shell : public platform::Shell {
public:
    explicit Win32Shell(const IconStore& icons) : icons_(icons) {}
    bool notifyIcon(platform::TrayMessage message, const platform::TrayIconData& data) override;
    bool trayIconRect(const platform::TrayIconData& data, platform::Rect& rect) override;
    bool notificationAreaRect(platform::Rect& area) override;
    bool taskbarRect(platform::Rect& taskbar) override;
    std::uint32_t startProgram(std::string_view commandLine,
                               std::string_view currentFolder) override;
    std::string errorDescription(std::uint32_t error) override;
    bool openAddress(std::string_view address) override;
    bool openInNewBrowserWindow(std::string_view address) override;

private:
    const IconStore& icons_;
    ComPtr<IWebBrowser2> browserApp_;  // the latest browser window opened; earlier ones stay
};

}  // namespace qmx::win32
