#include "win32/system/win32_log_file.h"

#include <windows.h>

#include <shlobj.h>

#include "win32/system/unique_handle.h"

namespace qmx::win32 {

namespace {
constexpr wchar_t kLogName[] = L"qmx.log";
constexpr wchar_t kPreviousName[] = L"qmx.old.log";
}  // namespace

// SHGetFolderPath with CSIDL_LOCAL_APPDATA names the user's local (not roaming) application
// data on every Windows from XP on ("CSIDL", Microsoft's documentation): a log stays on the
// machine whose answers it holds.
const std::wstring& Win32LogFile::folder() {
    if (!folderLookedUp_) {
        folderLookedUp_ = true;
        wchar_t path[MAX_PATH];
        if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) ==
            S_OK) {
            folder_ = std::wstring(path) + L"\\Velto Volume Controller\\";
        }
    }
    return folder_;
}

std::uint64_t Win32LogFile::size() {
    if (folder().empty()) return 0;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW((folder_ + kLogName).c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Opened with the right to append only, every write goes to the file's end whatever another
// writer did meanwhile (NtCreateFile, Microsoft's documentation: with only FILE_APPEND_DATA and
// SYNCHRONIZE "the caller can write only to the end of the file").
void Win32LogFile::append(std::string_view text) {
    if (folder().empty()) return;
    CreateDirectoryW(folder_.c_str(), nullptr);  // fails harmlessly when it is there
    UniqueKernelHandle file(CreateFileW((folder_ + kLogName).c_str(),
                                        FILE_APPEND_DATA | SYNCHRONIZE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return;
    }
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Replacing refuses a previous generation that a viewer holds open, even one that lets it be
// deleted, or that is read-only; such a file is deleted first (an open one then goes when the
// viewer lets it go) and the move made once more.
void Win32LogFile::keepAsPrevious() {
    if (folder().empty()) return;
    const std::wstring log = folder_ + kLogName;
    const std::wstring previous = folder_ + kPreviousName;
    if (MoveFileExW(log.c_str(), previous.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
    SetFileAttributesW(previous.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(previous.c_str());
    MoveFileExW(log.c_str(), previous.c_str(), MOVEFILE_REPLACE_EXISTING);
}

platform::LocalTime Win32LogFile::now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

}  // namespace qmx::win32
