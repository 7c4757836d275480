#include "win32/system/win32_system.h"

#include <windows.h>

#include <shlobj.h>

#include "win32/system/system_library.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

platform::OsVersion Win32System::version() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return {};
#pragma GCC diagnostic pop
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

// RtlGetVersion answers the kernel's own version on every NT system, where GetVersionEx answers
// what the manifest declares (Microsoft, "RtlGetVersion function" and "Operating system version
// changes in Windows 8.1 and Windows Server 2012 R2").
platform::OsVersion Win32System::kernelVersion() {
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    static const auto getVersion = loadedFunction<GetVersion>(L"ntdll.dll", "RtlGetVersion");
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (getVersion == nullptr || getVersion(&info) != 0) return version();
    return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

std::string Win32System::systemDirectoryBuffer(std::size_t bufferChars) {
    std::string buffer(bufferChars, ' ');
    GetSystemDirectoryA(buffer.data(), static_cast<UINT>(buffer.size()));
    return buffer;
}

bool Win32System::workArea(platform::Rect& area) {
    RECT rect{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0)) return false;
    area = {rect.left, rect.top, rect.right, rect.bottom};
    return true;
}

std::vector<std::string> Win32System::programFilesFolders() {
    std::vector<std::string> folders;
    for (int folder : {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}) {
        wchar_t path[MAX_PATH];
        if (SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK) {
            std::string text = utf8Of(path);
            while (!text.empty() && text.back() == '\\') text.pop_back();
            if (!text.empty()) folders.push_back(std::move(text));
        }
    }
    return folders;
}

// GetLongPathNameW answers the length it needs, counting the NUL, when the buffer is too small,
// and 0 when a part of the path does not exist.
std::optional<std::string> Win32System::longPathName(const std::string& path) {
    const std::wstring wide = widen(path);
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length =
            GetLongPathNameW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::nullopt;
        if (length < buffer.size()) return utf8Of(std::wstring_view(buffer.data(), length));
        buffer.assign(length, L'\0');
    }
    return std::nullopt;
}

}  // namespace qmx::win32
