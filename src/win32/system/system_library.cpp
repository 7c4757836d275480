#include "win32/system/system_library.h"

#include <string>

#include "system_checks/dll_search.h"

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

// What Windows loads by name for this program, merged from three sources:
// - Wine's loader trace of a whole run (the controller, the menu, About, Options, Test Sound):
//   user32's theme, input-method, alpha-blending and property-system libraries, the composition
//   library the theme library loads, version, the MCI driver that plays the test sound (the
//   registry's [mci] "waveaudio") and the sound drivers winmm reads from the registry's
//   Drivers32 list for the mixer;
// - NSIS's installer stub (Source/exehead/Main.c, with the call that loads each on which
//   version): userenv (Vista, the shell's profile folders), setupapi (XP, the shell's drive
//   list), apphelp and propsys (Vista, the shell's name translation), dwmapi (7, the theme
//   library), cryptbase (7, COM's start through rpcrt4's random numbers), oleacc (Vista, the
//   shell's progress dialog), clbcatq (XP SP2 and SP3, ole32's class catalogue at the first
//   CoCreateInstance), ntmarta (7, the access-control functions);
// - 7-Zip's (C/DllSecur.c), the same list without ntmarta.
// Missing ones (dwmapi, propsys, cryptbase or apphelp on XP) are skipped.
constexpr const wchar_t* kLoadedByName[] = {
    L"uxtheme.dll", L"dwmapi.dll",  L"imm32.dll",    L"msimg32.dll", L"propsys.dll",
    L"version.dll", L"userenv.dll", L"setupapi.dll", L"apphelp.dll", L"cryptbase.dll",
    L"oleacc.dll",  L"clbcatq.dll", L"ntmarta.dll",  L"mciwave.dll", L"wdmaud.drv",
    L"msacm32.drv", L"msacm32.dll", L"midimap.dll"};

}  // namespace

void keepDllSearchToTheSystemFolder(const platform::OsVersion& version) {
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    using SetDirectory = BOOL(WINAPI*)(LPCWSTR);
    const system_checks::DllSearchPlan plan = system_checks::dllSearchPlan(version, searchFlagsKnown());
    bool restricted = false;
    if (plan.restrictDefaultSearch) {
        auto set =
            loadedFunction<SetDefaultDirectories>(L"kernel32.dll", "SetDefaultDllDirectories");
        restricted = set != nullptr && set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    // Older systems: at least the current directory leaves the search.
    if (auto set = loadedFunction<SetDirectory>(L"kernel32.dll", "SetDllDirectoryW")) {
        set(L"");
    }
    if (restricted) return;
    // Now, before the first window or COM call, which already load some of them by name (the
    // theme and input-method libraries at the first window, cryptbase when COM starts); not
    // after the tray icon, as the icon needs both. Kept for the whole run, as they would be once
    // the system had loaded them.
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
