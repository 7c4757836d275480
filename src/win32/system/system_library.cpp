#include "win32/system/system_library.h"

#include <string>

namespace qmx::win32 {

namespace {

// Windows 8, and 7 and Vista with KB2533623, know the LOAD_LIBRARY_SEARCH flags; they are
// announced by AddDllDirectory.
bool searchFlagsKnown() {
    static const bool known =
        loadedFunction<FARPROC>(L"kernel32.dll", "AddDllDirectory") != nullptr;
    return known;
}

std::wstring systemFolderPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\" + name;
}

// What the system loads by name for this program, as Wine's loader trace of a run shows it (the
// controller, the menu, About, Options, Test Sound): the theme, input-method, alpha-blending and
// property-system libraries of user32, the common controls and the audio service, and the
// composition library that Windows' theme library loads besides; the MCI driver that plays the
// test sound (the registry's [mci] "waveaudio"); and the sound drivers winmm reads from the
// registry's Drivers32 list for the mixer. A missing one (dwmapi or propsys on XP) is skipped.
constexpr const wchar_t* kLoadedByName[] = {
    L"uxtheme.dll", L"dwmapi.dll", L"imm32.dll",   L"msimg32.dll", L"propsys.dll", L"version.dll",
    L"mciwave.dll", L"wdmaud.drv", L"msacm32.drv", L"msacm32.dll", L"midimap.dll"};

}  // namespace

void keepDllSearchToTheSystemFolder() {
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    using SetDirectory = BOOL(WINAPI*)(LPCWSTR);
    if (auto set =
            loadedFunction<SetDefaultDirectories>(L"kernel32.dll", "SetDefaultDllDirectories")) {
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Older systems: at least the current directory leaves the search.
    if (auto set = loadedFunction<SetDirectory>(L"kernel32.dll", "SetDllDirectoryW")) {
        set(L"");
    }
    if (searchFlagsKnown()) return;
    // Kept for the whole run, as they would be once the system had loaded them.
    for (const wchar_t* name : kLoadedByName) {
        const std::wstring path = systemFolderPath(name);
        if (!path.empty()) LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
}

SystemLibrary::~SystemLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
}

FARPROC SystemLibrary::address(const char* name) {
    if (!tried_) {
        tried_ = true;
        if (source_ == Source::SideBySide) {
            module_ = LoadLibraryW(name_);
        } else if (searchFlagsKnown()) {
            module_ = LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        } else {
            const std::wstring path = systemFolderPath(name_);
            // The DLL's own imports are looked for beside it, in the system folder.
            if (!path.empty()) {
                module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
            }
        }
    }
    return module_ != nullptr ? GetProcAddress(module_, name) : nullptr;
}

}  // namespace qmx::win32
