#pragma once

#include <windows.h>

#include "platform/system.h"

namespace qmx::win32 {

// From now on the process loads DLLs from the system folder only: never from the program's
// folder (a Downloads folder where a web page may have left a DLL) or the current directory.
// Where Windows cannot be told so (XP, Vista, 7 without KB2533623), the DLLs that the system's
// own DLLs load by name for this program are loaded from the system folder now, before
// anything could look for them beside the program.
void keepDllSearchToTheSystemFolder(const platform::OsVersion& version);

// A function of a system DLL the process has loaded already (kernel32, user32, shell32), looked
// up at run time; nullptr where this Windows version lacks it.
template <typename Function>
Function loadedFunction(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

// A DLL of the system, loaded only when a function of it is first asked for, and kept until the
// object goes: from the system folder, or from the side-by-side store by the assembly the
// program's manifest names (which the loader consults before any folder).
class SystemLibrary {
public:
    enum class Source { SystemFolder, SideBySide };
    explicit SystemLibrary(const wchar_t* name, Source source = Source::SystemFolder)
        : name_(name), source_(source) {}
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function, or nullptr when the DLL or the function is missing.
    template <typename Function>
    Function function(const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(address(name)));
    }
    bool loaded() const { return module_ != nullptr; }

private:
    FARPROC address(const char* name);

    const wchar_t* name_;
    Source source_;
    HMODULE module_ = nullptr;
    bool tried_ = false;
};

}  // namespace qmx::win32
