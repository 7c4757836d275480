// A DLL planted beside the program under a system DLL's name, as a web page could leave one in
// the Downloads folder: when anything loads it, it leaves a marker file beside itself.
#include <windows.h>

#include <string>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    std::wstring marker(path, length);
    marker = marker.substr(0, marker.find_last_of(L'\\') + 1) + L"planted-dll-was-loaded";
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
