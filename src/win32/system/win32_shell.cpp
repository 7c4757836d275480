#include "win32/system/win32_shell.h"

#include <windows.h>

#include <oleauto.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "common/number_text.h"
#include "win32/gui/dpi.h"
#include "win32/gui/form_window.h"
#include "win32/system/system_library.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

bool Win32Shell::notifyIcon(platform::TrayMessage message, const platform::TrayIconData& data) {
    NOTIFYICONDATAA record{};
    // The callback form and the focus are Windows 2000's additions, in the record of its size.
    const bool since2000 =
        message == platform::TrayMessage::SetVersion || message == platform::TrayMessage::SetFocus;
    record.cbSize = since2000 ? NOTIFYICONDATAA_V2_SIZE : NOTIFYICONDATAA_V1_SIZE;
    if (message == platform::TrayMessage::SetVersion) record.uVersion = platform::kTrayIconVersion;
    record.hWnd = reinterpret_cast<HWND>(data.window);
    record.uID = data.id;
    record.uFlags = data.flags;
    record.uCallbackMessage = data.callbackMessage;
    // The notification area shows icons in the size for the primary monitor's resolution, which
    // the hidden host window follows (a field read: this runs ten times a second).
    const FormWindow* host = formOf(record.hWnd);
    record.hIcon = icons_.small(data.icon, host != nullptr ? host->dpi : systemDpi());
    static_assert(sizeof(record.szTip) >= sizeof(data.tip));
    std::memcpy(record.szTip, data.tip.data(), data.tip.size());
    record.szTip[sizeof(record.szTip) - 1] = '\0';
    return Shell_NotifyIconA(static_cast<DWORD>(message), &record) != FALSE;
}

// Shell_NotifyIconGetRect exists from Windows 7 on: looked up at run time.
bool Win32Shell::trayIconRect(const platform::TrayIconData& data, platform::Rect& rect) {
    using GetRect = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
    static const auto getRect = loadedFunction<GetRect>(L"shell32.dll", "Shell_NotifyIconGetRect");
    if (getRect == nullptr) return false;
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = reinterpret_cast<HWND>(data.window);
    icon.uID = data.id;
    RECT place{};
    if (FAILED(getRect(&icon, &place))) return false;
    rect = {place.left, place.top, place.right, place.bottom};
    return true;
}

namespace {
// A window's place on the screen, when it is shown and takes room.
bool shownPlace(HWND window, platform::Rect& rect) {
    RECT place{};
    if (window == nullptr || !IsWindowVisible(window) || !GetWindowRect(window, &place) ||
        place.right <= place.left || place.bottom <= place.top) {
        return false;
    }
    rect = {place.left, place.top, place.right, place.bottom};
    return true;
}
}  // namespace

bool Win32Shell::taskbarRect(platform::Rect& taskbar) {
    return shownPlace(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar);
}

// The taskbar (Shell_TrayWnd) holds the notification area (TrayNotifyWnd) on every Windows the
// program runs on; a shell without the latter, or with one hidden or of no size (Windows 11 just
// after start-up: zhongyang219/TrafficMonitor#1987), gives the taskbar's place.
bool Win32Shell::notificationAreaRect(platform::Rect& area) {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (taskbar == nullptr || !IsWindowVisible(taskbar)) return false;
    return shownPlace(FindWindowExW(taskbar, nullptr, L"TrayNotifyWnd", nullptr), area) ||
           shownPlace(taskbar, area);
}

std::uint32_t Win32Shell::startProgram(std::string_view commandLine,
                                       std::string_view currentFolder) {
    std::string command(commandLine);
    const std::string folder(currentFolder);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        return GetLastError();
    }
    UniqueKernelHandle thread(process.hThread);
    UniqueKernelHandle started(process.hProcess);
    return 0;
}

// ShellExecute answers a value above 32 when it succeeded.
bool Win32Shell::openAddress(std::string_view address) {
    const HINSTANCE done = ShellExecuteA(nullptr, nullptr, std::string(address).c_str(), nullptr,
                                         nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(done) > 32;
}

bool Win32Shell::openInNewBrowserWindow(std::string_view address) {
    ComPtr<IWebBrowser2> browser;
    if (FAILED(CoCreateInstance(CLSID_InternetExplorer, nullptr, CLSCTX_LOCAL_SERVER,
                                IID_IWebBrowser2, browser.putVoid()))) {
        return false;
    }
    browserApp_ = std::move(browser);
    browserApp_->put_Visible(VARIANT_TRUE);
    const std::string text(address);
    std::wstring wide(text.begin(), text.end());
    BSTR url = SysAllocString(wide.c_str());
    VARIANT empty;
    VariantInit(&empty);
    browserApp_->Navigate(url, &empty, &empty, &empty, &empty);
    SysFreeString(url);
    return true;
}

std::string Win32Shell::errorDescription(std::uint32_t error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string description = length && text ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' ')) {
        description.pop_back();
    }
    if (!description.empty()) return description;
    return "Error 0x" + hexDigits(error, 8);
}

}  // namespace qmx::win32
