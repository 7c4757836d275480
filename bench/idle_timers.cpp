// The yardstick for the idle benchmark: a Windows program with the same timers as qmx.exe (a
// hidden window ticking every 100 ms, and with "open" a second window ticking every 1 ms, as
// the open controller does) that does nothing when they tick.
#include <windows.h>

#include <cstring>

namespace {
LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "IdleTimers";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(WS_EX_TOOLWINDOW, "IdleTimers", "", WS_POPUP, 0, 0, 90, 28, nullptr,
                                nullptr, instance, nullptr);
    SetTimer(host, 1, 100, nullptr);
    if (std::strstr(commandLine, "open") != nullptr) {
        HWND shown = CreateWindowExA(WS_EX_TOOLWINDOW, "IdleTimers", "", WS_POPUP | WS_VISIBLE, 874,
                                     578, 67, 186, nullptr, nullptr, instance, nullptr);
        SetTimer(shown, 3, 1, nullptr);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
