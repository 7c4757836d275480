#pragma once

#include <windows.h>

namespace qmx::win32 {

// From now on the process loads DLLs from the system folder only: never from the program's
// folder (a Downloads folder where a web page may have left a DLL) or the current directory.
void keepDllSearchToTheSystemFolder();

// A DLL of the system folder, loaded from there only when a function of it is first asked for,
// and kept until the object goes.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) : name_(name) {}
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
    HMODULE module_ = nullptr;
    bool tried_ = false;
};

}  // namespace qmx::win32
