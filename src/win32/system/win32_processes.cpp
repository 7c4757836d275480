#include "win32/system/win32_processes.h"

#include <windows.h>

#include <string>

#include "win32/system/system_library.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

namespace {

// The process-status functions, looked up rather than imported: kernel32 has them (K32…) from
// Windows 7 on; before, only psapi.dll has them, and it is no known DLL there, so an import would
// load a psapi.dll lying beside the program before any of its code runs. It comes from the
// system folder instead.
SystemLibrary& psapi() {
    static SystemLibrary library(L"psapi.dll");
    return library;
}

template <typename Function>
Function processStatus(const char* name) {
    const std::string inKernel = std::string("K32") + name;
    if (auto function = loadedFunction<Function>(L"kernel32.dll", inKernel.c_str())) {
        return function;
    }
    return psapi().function<Function>(name);
}

using EnumProcessesCall = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumModulesCall = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using ModuleNameCall = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

}  // namespace

std::uint32_t Win32Processes::currentProcessId() {
    return GetCurrentProcessId();
}

std::string Win32Processes::ownExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), path.size());
        if (length < path.size()) {
            path.resize(length);
            return utf8Of(path);
        }
        path.resize(path.size() * 2);
    }
}

void Win32Processes::createMutex(std::string_view name) {
    const std::string text(name);
    mutex_.reset(CreateMutexA(nullptr, FALSE, text.c_str()));
}

// The lock is a mutex this process owns until it ends: a copy that ends abandons it, and the
// next one to ask owns it then.
platform::InstanceClaim Win32Processes::claimInstance(std::string_view name) {
    const std::wstring fullName = L"Local\\" + widen(name);
    UniqueKernelHandle lock(CreateMutexW(nullptr, TRUE, fullName.c_str()));
    if (!lock) return platform::InstanceClaim::Unavailable;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        const DWORD waited = WaitForSingleObject(lock.get(), 0);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            return platform::InstanceClaim::HeldElsewhere;
        }
    }
    instanceLock_ = std::move(lock);
    return platform::InstanceClaim::Claimed;
}

bool Win32Processes::enumProcesses(std::span<std::uint32_t> ids, std::uint32_t& bytesReturned) {
    static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
    static const auto enumerate = processStatus<EnumProcessesCall>("EnumProcesses");
    if (enumerate == nullptr) return false;
    DWORD returned = 0;
    const BOOL ok = enumerate(reinterpret_cast<DWORD*>(ids.data()),
                              static_cast<DWORD>(ids.size_bytes()), &returned);
    bytesReturned = returned;
    return ok != FALSE;
}

std::optional<std::string> Win32Processes::executablePath(std::uint32_t processId,
                                                          std::size_t bufferChars) {
    static const auto enumModules = processStatus<EnumModulesCall>("EnumProcessModules");
    static const auto moduleName = processStatus<ModuleNameCall>("GetModuleFileNameExW");
    if (enumModules == nullptr || moduleName == nullptr) return std::nullopt;
    UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, TRUE, processId));
    if (!process) return std::nullopt;
    HMODULE modules[50] = {};
    DWORD needed = 0;
    enumModules(process.get(), modules, sizeof(modules), &needed);
    std::wstring name(bufferChars, L' ');
    moduleName(process.get(), modules[0], name.data(), static_cast<DWORD>(name.size()));
    const auto nul = name.find(L'\0');
    return nul == std::wstring::npos ? std::string() : utf8Of(name.substr(0, nul));
}

std::optional<std::string> Win32Processes::imagePath(std::uint32_t processId,
                                                     std::size_t bufferChars) {
    // Looked up at run time: Windows XP has no QueryFullProcessImageNameW.
    using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
    static const auto query =
        loadedFunction<QueryImageName>(L"kernel32.dll", "QueryFullProcessImageNameW");
    if (query == nullptr) return executablePath(processId, bufferChars);
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return std::nullopt;
    std::wstring name(bufferChars, L'\0');
    DWORD size = static_cast<DWORD>(name.size());
    // A path too long for the buffer reads as empty text, as with the module query.
    if (!query(process.get(), 0, name.data(), &size)) return std::string();
    name.resize(size);
    return utf8Of(name);
}

std::optional<std::uint32_t> Win32Processes::sessionOf(std::uint32_t processId) {
    DWORD session = 0;
    if (!ProcessIdToSessionId(processId, &session)) return std::nullopt;
    return session;
}

void Win32Processes::exitProcess(std::uint32_t exitCode) {
    ExitProcess(exitCode);
}

}  // namespace qmx::win32
