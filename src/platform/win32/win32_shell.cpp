#include "platform/win32/win32_shell.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>

namespace qmx::win32 {

bool Win32Shell::notifyIcon(platform::TrayMessage message, const platform::TrayIconData& data) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = reinterpret_cast<HWND>(data.window);
    record.uID = data.id;
    record.uFlags = data.flags;
    record.uCallbackMessage = data.callbackMessage;
    record.hIcon = icons_.small(data.icon);
    static_assert(sizeof(record.szTip) >= sizeof(data.tip));
    std::memcpy(record.szTip, data.tip.data(), data.tip.size());
    record.szTip[sizeof(record.szTip) - 1] = '\0';
    return Shell_NotifyIconA(static_cast<DWORD>(message), &record) != FALSE;
}

}  // namespace qmx::win32
