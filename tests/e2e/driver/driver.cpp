// qmxdriver: looks at the program from outside, as a user or an accessibility tool would: its
// windows, their texts, styles and regions, its processes and exit codes. Every answer goes to
// standard output; the exit code is 0 when the thing asked for was found.
#include <windows.h>

#include <oleacc.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "stand_in_tray.h"

namespace {

HWND parseWindow(const char* text) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoull(text, nullptr, 0)));
}

std::wstring wide(const char* text) {
    wchar_t buffer[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, 1024);
    return buffer;
}

std::string classOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

// A window's text, read as wide text and printed as UTF-8 whatever the code page.
std::string textOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    return utf8;
}

struct Query {
    std::string windowClass;  // empty: any
    std::string title;        // empty: any
    DWORD pid = 0;            // 0: any
    bool visibleOnly = false;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
    auto& q = *reinterpret_cast<Query*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (q.pid != 0 && pid != q.pid) return TRUE;
    if (q.visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (!q.windowClass.empty() && classOf(window) != q.windowClass) return TRUE;
    if (!q.title.empty() && textOf(window) != q.title) return TRUE;
    q.found.push_back(window);
    return TRUE;
}

void describe(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::printf(
        "%#llx pid=%lu class=%s visible=%d rect=%ld,%ld,%ld,%ld style=%#lx exstyle=%#lx "
        "text=%s\n",
        static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), pid,
        classOf(window).c_str(), IsWindowVisible(window) ? 1 : 0, r.left, r.top, r.right - r.left,
        r.bottom - r.top, GetWindowLongA(window, GWL_STYLE), GetWindowLongA(window, GWL_EXSTYLE),
        textOf(window).c_str());
}

Query parseQuery(int argc, char** argv, int first, int* timeoutMs) {
    Query q;
    for (int i = first; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--class") q.windowClass = argv[i + 1];
        if (option == "--title") q.title = argv[i + 1];
        if (option == "--pid") q.pid = std::strtoul(argv[i + 1], nullptr, 0);
        if (option == "--visible") q.visibleOnly = std::strcmp(argv[i + 1], "1") == 0;
        if (option == "--timeout" && timeoutMs) *timeoutMs = std::atoi(argv[i + 1]) * 1000;
    }
    return q;
}

// Waits up to `timeoutMs` for a window of the class to be there (or, with `gone`, not).
bool waitFor(const char* windowClass, bool gone, DWORD timeoutMs) {
    const DWORD deadline = GetTickCount() + timeoutMs;
    for (;;) {
        HWND window = FindWindowA(windowClass, nullptr);
        const bool there = window != nullptr && IsWindowVisible(window);
        if (there != gone) return true;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
        Sleep(10);
    }
}

// Posts a key press to a window (down and up).
void postKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// One open/close cycle of the soak, driven through the program's own messages as the shell and
// the pointer send them: the controller (closed by its Classic close button, or by a double
// click on its background), the tray menu (closed with Esc), or the About or Options box
// (chosen from the menu with the keyboard, closed by its close box).
bool cycle(HWND host, const std::string& kind, int index) {
    constexpr LPARAM kLeftUp = 0x202;
    constexpr LPARAM kRightDown = 0x204;
    if (kind == "controller") {
        SendMessageA(host, WM_LBUTTONDOWN, 0, kLeftUp);
        HWND controller = FindWindowA("QmxController", nullptr);
        if (controller == nullptr) return false;
        if (index % 2 == 0) {
            HWND close = GetDlgItem(controller, 108);  // the Classic close button
            SendMessageA(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageA(close, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        } else {
            SendMessageA(controller, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 60));
            SendMessageA(controller, WM_LBUTTONUP, 0, MAKELPARAM(30, 60));
        }
        return waitFor("QmxController", true, 15000);
    }
    PostMessageA(host, WM_LBUTTONDOWN, 0, kRightDown);
    if (!waitFor("#32768", false, 15000)) return false;
    HWND menu = FindWindowA("#32768", nullptr);
    if (kind == "menu") {
        postKey(menu, VK_ESCAPE);
        return waitFor("#32768", true, 15000);
    }
    // About is the first item, Options the third (Skin lies between).
    const int downs = index % 2 == 0 ? 1 : 3;
    for (int i = 0; i < downs; ++i) postKey(menu, VK_DOWN);
    postKey(menu, VK_RETURN);
    if (!waitFor("QmxDialog", false, 15000)) return false;
    SendMessageA(FindWindowA("QmxDialog", nullptr), WM_CLOSE, 0, 0);
    return waitFor("QmxDialog", true, 15000);
}

// The handle count of a process from NtQuerySystemInformation's process list; -1 when unknown.
long processHandleCount(DWORD pid) {
    using Query = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return -1;
    constexpr int kSystemProcessInformation = 5;
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    if (query(kSystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
              &needed) < 0) {
        return -1;
    }
    for (std::size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&buffer[offset]);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == pid) {
            return static_cast<long>(entry->HandleCount);
        }
        if (entry->NextEntryOffset == 0) return -1;
        offset += entry->NextEntryOffset;
    }
}

int usage() {
    std::puts(
        "usage: qmxdriver windows [--class C] [--title T] [--pid P] [--visible 1]\n"
        "       qmxdriver wait-window [--class C] [--title T] [--pid P] [--visible 1] "
        "[--timeout S]\n"
        "       qmxdriver children HWND\n"
        "       qmxdriver child-text HWND ID\n"
        "       qmxdriver checked HWND ID\n"
        "       qmxdriver press-ok HWND\n"
        "       qmxdriver send HWND MESSAGE [WPARAM LPARAM]\n"
        "       qmxdriver notify HWND MESSAGE WPARAM LPARAM\n"
        "       qmxdriver hold-hotkey MODIFIERS KEY SECONDS\n"
        "       qmxdriver hold-file PATH SECONDS\n"
        "       qmxdriver tray-version HWND ID VERSION\n"
        "       qmxdriver owner HWND\n"
        "       qmxdriver message-id NAME\n"
        "       qmxdriver foreground\n"
        "       qmxdriver handles PID\n"
        "       qmxdriver focus HWND\n"
        "       qmxdriver acc HWND\n"
        "       qmxdriver uistate HWND\n"
        "       qmxdriver keyboard-cues 0|1\n"

        "       qmxdriver region HWND\n"
        "       qmxdriver reg-text HKCU|HKLM KEY NAME\n"
        "       qmxdriver workarea\n"
        "       qmxdriver run EXE [TIMEOUT_S]\n"
        "       qmxdriver run-line COMMAND-LINE\n"
        "       qmxdriver start EXE\n"
        "       qmxdriver launch-to-icon EXE [ARGUMENT]\n"
        "       qmxdriver stand-in-tray SECONDS [LINES]\n"
        "       qmxdriver cycle controller|menu|dialogs COUNT");
    return 2;
}

bool startProcess(const char* exe, PROCESS_INFORMATION& info, const char* argument = nullptr) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string commandLine = std::string("\"") + exe + "\"";
    if (argument != nullptr) commandLine += std::string(" ") + argument;
    return CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info) != FALSE;
}

}  // namespace

// Copied under another name (a planted rundll32.exe, say), the driver only leaves a marker file
// "<its path>.ran" to show that it was started.
bool startedAsPlantedProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    if (_stricmp(name, "qmxdriver.exe") == 0) return false;
    const std::string marker = std::string(path) + ".ran";
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return true;
}

int main(int argc, char** argv) {
    if (startedAsPlantedProgram()) return 0;
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "windows" || command == "wait-window") {
        int timeoutMs = 0;
        Query q = parseQuery(argc, argv, 2, &timeoutMs);
        const DWORD deadline = GetTickCount() + timeoutMs;
        for (;;) {
            q.found.clear();
            EnumWindows(collect, reinterpret_cast<LPARAM>(&q));
            if (!q.found.empty() || command == "windows") break;
            if (static_cast<LONG>(GetTickCount() - deadline) >= 0) break;
            Sleep(100);
        }
        for (HWND w : q.found) describe(w);
        return q.found.empty() ? 1 : 0;
    }
    if (command == "children" && argc >= 3) {
        HWND parent = parseWindow(argv[2]);
        for (HWND child = GetWindow(parent, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            std::printf("id=%d ", GetDlgCtrlID(child));
            describe(child);
        }
        return 0;
    }
    if (command == "child-text" && argc >= 4) {
        HWND child = GetDlgItem(parseWindow(argv[2]), std::atoi(argv[3]));
        if (!child) return 1;
        std::printf("%s\n", textOf(child).c_str());
        return 0;
    }
    if (command == "region" && argc >= 3) {
        HWND window = parseWindow(argv[2]);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(window, region);
        RECT box{};
        GetRgnBox(region, &box);
        std::printf(
            "kind=%d box=%ld,%ld,%ld,%ld corner=%d centre=%d\n", kind, box.left, box.top,
            box.right - box.left, box.bottom - box.top,
            PtInRegion(region, box.left, box.top) ? 1 : 0,
            PtInRegion(region, (box.left + box.right) / 2, (box.top + box.bottom) / 2) ? 1 : 0);
        DeleteObject(region);
        return kind == ERROR ? 1 : 0;
    }
    if (command == "workarea") {
        RECT area{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        std::printf("%ld %ld %ld %ld\n", area.left, area.top, area.right, area.bottom);
        return 0;
    }
    if (command == "checked" && argc >= 4) {
        HWND child = GetDlgItem(parseWindow(argv[2]), std::atoi(argv[3]));
        if (!child) return 1;
        const LRESULT state = SendMessageA(child, BM_GETCHECK, 0, 0);
        std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
        return state == BST_CHECKED ? 0 : 1;
    }
    if (command == "press-ok" && argc >= 3) {
        return PostMessageA(parseWindow(argv[2]), WM_COMMAND, IDOK, 0) ? 0 : 1;
    }
    if (command == "send" && argc >= 4) {
        const UINT message = std::strtoul(argv[3], nullptr, 0);
        const WPARAM wParam = argc >= 5 ? std::strtoull(argv[4], nullptr, 0) : 0;
        const LPARAM lParam = argc >= 6 ? std::strtoll(argv[5], nullptr, 0) : 0;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(parseWindow(argv[2]), message, wParam, lParam, SMTO_ABORTIFHUNG,
                                 5000, &result)) {
            return 1;
        }
        std::printf("%llu\n", static_cast<unsigned long long>(result));
        return 0;
    }
    // A message sent as the shell sends its tray callbacks: without waiting for the answer.
    if (command == "notify" && argc >= 6) {
        return SendNotifyMessageA(parseWindow(argv[2]), std::strtoul(argv[3], nullptr, 0),
                                  std::strtoull(argv[4], nullptr, 0),
                                  std::strtoll(argv[5], nullptr, 0))
                   ? 0
                   : 1;
    }
    // Keeps a file open without sharing for SECONDS, as a program running from it in another
    // user's session keeps its executable.
    if (command == "hold-file" && argc >= 4) {
        const std::wstring path = wide(argv[2]);
        HANDLE file =
            CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::printf("refused %lu\n", GetLastError());
            return 1;
        }
        std::puts("held");
        std::fflush(stdout);
        Sleep(std::strtoul(argv[3], nullptr, 0) * 1000);
        CloseHandle(file);
        return 0;
    }
    // Holds a shortcut key for SECONDS, as another program that uses it would.
    if (command == "hold-hotkey" && argc >= 5) {
        if (!RegisterHotKey(nullptr, 1, std::strtoul(argv[2], nullptr, 0),
                            std::strtoul(argv[3], nullptr, 0))) {
            std::printf("refused %lu\n", GetLastError());
            return 1;
        }
        std::puts("held");
        std::fflush(stdout);
        Sleep(std::strtoul(argv[4], nullptr, 0) * 1000);
        return 0;
    }
    // Declares a callback form for another program's tray icon; prints the shell's answer.
    if (command == "tray-version" && argc >= 5) {
        NOTIFYICONDATAA icon{};
        icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
        icon.hWnd = parseWindow(argv[2]);
        icon.uID = std::strtoul(argv[3], nullptr, 0);
        icon.uVersion = std::strtoul(argv[4], nullptr, 0);
        std::printf("%d\n", Shell_NotifyIconA(NIM_SETVERSION, &icon) ? 1 : 0);
        return 0;
    }
    // The number of a registered window message ("TaskbarCreated", say).
    if (command == "message-id" && argc >= 3) {
        std::printf("%u\n", RegisterWindowMessageA(argv[2]));
        return 0;
    }
    if (command == "owner" && argc >= 3) {
        HWND owner = GetWindow(parseWindow(argv[2]), GW_OWNER);
        std::printf("%#llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(owner)));
        return owner ? 0 : 1;
    }
    // The active window, the keyboard focus and the pointer capture of the given window's thread.
    if (command == "focus" && argc >= 3) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(parseWindow(argv[2]), nullptr), &info)) {
            return 1;
        }
        auto number = [](HWND w) {
            return static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(w));
        };
        std::printf("active=%#llx focus=%#llx capture=%#llx\n", number(info.hwndActive),
                    number(info.hwndFocus), number(info.hwndCapture));
        return 0;
    }
    // Whether a window draws its focus rectangle (its keyboard cues) and the user's setting.
    if (command == "uistate" && argc >= 3) {
        const LRESULT state = SendMessageA(parseWindow(argv[2]), WM_QUERYUISTATE, 0, 0);
        BOOL always = FALSE;
        SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &always, 0);
        std::printf("focus-cues=%s always=%d\n", (state & UISF_HIDEFOCUS) ? "hidden" : "shown",
                    always ? 1 : 0);
        return 0;
    }
    // The user's "underline access keys and show focus always" setting: keyboard-cues 0|1.
    if (command == "keyboard-cues" && argc >= 3) {
        const UINT_PTR on = std::atoi(argv[2]) != 0;
        return SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(on),
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
                   ? 0
                   : 1;
    }
    // What a screen reader learns of a window: its accessible role, name and value.
    if (command == "acc" && argc >= 3) {
        CoInitialize(nullptr);
        IAccessible* object = nullptr;
        const HRESULT hr =
            AccessibleObjectFromWindow(parseWindow(argv[2]), OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&object));
        if (FAILED(hr)) {
            std::printf("no accessible object (%#lx)\n", static_cast<unsigned long>(hr));
            return 1;
        }
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT role;
        VariantInit(&role);
        BSTR name = nullptr;
        BSTR value = nullptr;
        object->get_accRole(self, &role);
        object->get_accName(self, &name);
        object->get_accValue(self, &value);
        std::printf("role=%ld name=%ls value=%ls\n", role.vt == VT_I4 ? role.lVal : -1L,
                    name ? name : L"", value ? value : L"");
        SysFreeString(name);
        SysFreeString(value);
        object->Release();
        return 0;
    }
    // The processes running NAME.exe as Windows lists them (what a program's own single-instance
    // check sees), one id per line.
    if (command == "processes" && argc >= 3) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return 1;
        PROCESSENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        bool found = false;
        for (BOOL more = Process32First(snapshot, &entry); more;
             more = Process32Next(snapshot, &entry)) {
            if (_stricmp(entry.szExeFile, argv[2]) != 0) continue;
            std::printf("%lu\n", entry.th32ProcessID);
            found = true;
        }
        CloseHandle(snapshot);
        return found ? 0 : 1;
    }
    // A process's kernel handles as the system's process list counts them (Wine answers 0 to
    // GetProcessHandleCount).
    if (command == "handles" && argc >= 3) {
        const long handles = processHandleCount(std::strtoul(argv[2], nullptr, 0));
        if (handles < 0) return 1;
        std::printf("%ld\n", handles);
        return 0;
    }
    if (command == "foreground") {
        HWND window = GetForegroundWindow();
        if (!window) return 1;
        describe(window);
        return 0;
    }
    if (command == "run" && argc >= 3) {
        PROCESS_INFORMATION info{};
        if (!startProcess(argv[2], info)) return 1;
        std::printf("pid=%lu\n", info.dwProcessId);
        const DWORD timeoutMs = argc >= 4 ? std::atoi(argv[3]) * 1000 : 30000;
        const DWORD waited = WaitForSingleObject(info.hProcess, timeoutMs);
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        std::printf(waited == WAIT_OBJECT_0 ? "exit=%lu\n" : "running\n", code);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return waited == WAIT_OBJECT_0 ? 0 : 1;
    }
    // A whole command line, as Windows runs a Run or RunOnce entry: its exit code.
    if (command == "run-line" && argc >= 3) {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        std::string commandLine = argv[2];
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info)) {
            return 1;
        }
        const DWORD waited = WaitForSingleObject(info.hProcess, 30000);
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        std::printf(waited == WAIT_OBJECT_0 ? "exit=%lu\n" : "running\n", code);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return waited == WAIT_OBJECT_0 ? 0 : 1;
    }
    if (command == "cycle" && argc >= 4) {
        HWND host = FindWindowA("QmxTrayHost", nullptr);
        if (host == nullptr) return 1;
        const int count = std::atoi(argv[3]);
        for (int i = 0; i < count; ++i) {
            if (!cycle(host, argv[2], i)) {
                std::printf("cycle %d of %s did not complete\n", i + 1, argv[2]);
                return 1;
            }
        }
        std::printf("%d %s cycles\n", count, argv[2]);
        return 0;
    }
    // Starts a program and measures the time until the tray shows one more icon.
    if (command == "launch-to-icon" && argc >= 3) {
        auto trayIcons = [] {
            int count = 0;
            HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
            for (HWND child = tray ? GetWindow(tray, GW_CHILD) : nullptr; child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if (classOf(child) == "__winex11_tray_icon") ++count;
            }
            return count;
        };
        const int before = trayIcons();
        LARGE_INTEGER frequency;
        LARGE_INTEGER start;
        LARGE_INTEGER now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        PROCESS_INFORMATION info{};
        if (!startProcess(argv[2], info, argc >= 4 ? argv[3] : nullptr)) return 1;
        for (int i = 0; i < 3000 && trayIcons() <= before; ++i) Sleep(5);
        QueryPerformanceCounter(&now);
        std::printf("pid=%lu ms=%.1f\n", info.dwProcessId,
                    (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return 0;
    }
    if (command == "stand-in-tray" && argc >= 3) {
        return standInTray(std::atoi(argv[2]), argc >= 4 ? std::atoi(argv[3]) : 5);
    }
    // A text value read with the wide-character functions and printed as UTF-8.
    if (command == "reg-text" && argc >= 5) {
        HKEY root = std::strcmp(argv[2], "HKLM") == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        wchar_t text[2048] = {};
        DWORD bytes = sizeof(text) - sizeof(wchar_t);
        const std::wstring key = wide(argv[3]);
        const std::wstring name = wide(argv[4]);
        if (RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &bytes) !=
            ERROR_SUCCESS) {
            return 1;
        }
        char utf8[8192] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
        std::printf("%s\n", utf8);
        return 0;
    }
    if (command == "start" && argc >= 3) {
        PROCESS_INFORMATION info{};
        if (!startProcess(argv[2], info)) return 1;
        std::printf("pid=%lu\n", info.dwProcessId);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return 0;
    }
    return usage();
}
