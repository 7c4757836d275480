#include "win32/system/system_library.h"

#include <string>

namespace qmx::win32 {

namespace {

FARPROC kernelFunction(const char* name) {
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
}

// Windows 8, and 7 and Vista with KB2533623, know the LOAD_LIBRARY_SEARCH flags; they are
// announced by AddDllDirectory.
bool searchFlagsKnown() {
    static const bool known = kernelFunction("AddDllDirectory") != nullptr;
    return known;
}

}  // namespace

void keepDllSearchToTheSystemFolder() {
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    using SetDirectory = BOOL(WINAPI*)(LPCWSTR);
    if (auto set = reinterpret_cast<SetDefaultDirectories>(
            reinterpret_cast<void*>(kernelFunction("SetDefaultDllDirectories")))) {
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Older systems: at least the current directory leaves the search.
    if (auto set = reinterpret_cast<SetDirectory>(
            reinterpret_cast<void*>(kernelFunction("SetDllDirectoryW")))) {
        set(L"");
    }
}

SystemLibrary::~SystemLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
}

FARPROC SystemLibrary::address(const char* name) {
    if (!tried_) {
        tried_ = true;
        if (searchFlagsKnown()) {
            module_ = LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        } else {
            wchar_t folder[MAX_PATH];
            const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
            if (length > 0 && length < MAX_PATH) {
                const std::wstring path = std::wstring(folder, length) + L"\\" + name_;
                // The DLL's own imports are looked for beside it, in the system folder.
                module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
            }
        }
    }
    return module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
}

}  // namespace qmx::win32
