#include "stand_in_tray.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Received {
    std::vector<unsigned char> firstAdd;
    int printed = 0;
    int limit = 0;
};
Received received;

// Red pixels (blue and green low, red high, not transparent) among the 32-bit pixels at the
// end of the data, where the icon's colour bits lie.
int redPixels(const std::vector<unsigned char>& data) {
    int red = 0;
    for (std::size_t end = data.size(); end >= 4; end -= 4) {
        const unsigned char* pixel = &data[end - 4];
        if (pixel[0] < 90 && pixel[1] < 90 && pixel[2] > 180 && pixel[3] > 0) ++red;
    }
    return red;
}

// Wine's shell32 hands a tray a fixed record (window, id, flags, message, the tip and balloon
// texts, the item's GUID, the bitmap's size) and then the icon's bits: the picture.
constexpr std::size_t kRecordBytes = 960;

bool samePicture(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    return a.size() == b.size() && a.size() > kRecordBytes &&
           std::equal(a.begin() + kRecordBytes, a.end(), b.begin() + kRecordBytes);
}

LRESULT CALLBACK trayProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const auto* bytes = static_cast<const unsigned char*>(copy->lpData);
    std::vector<unsigned char> data(bytes, bytes + copy->cbData);
    if (copy->dwData == NIM_ADD && received.firstAdd.empty()) received.firstAdd = data;
    if (received.printed < received.limit) {
        ++received.printed;
        std::printf("message=%lu from=%p red=%d bytes=%zu same-picture-as-add=%d\n",
                    static_cast<unsigned long>(copy->dwData), reinterpret_cast<void*>(wParam),
                    redPixels(data), data.size(), samePicture(data, received.firstAdd) ? 1 : 0);
        std::fflush(stdout);
    }
    return TRUE;
}

}  // namespace

int standInTray(int seconds, int limit) {
    received.limit = limit;
    WNDCLASSA trayClass{};
    trayClass.lpfnWndProc = trayProcedure;
    trayClass.hInstance = GetModuleHandleA(nullptr);
    trayClass.lpszClassName = "Shell_TrayWnd";
    if (!RegisterClassA(&trayClass)) return 1;
    HWND tray = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, trayClass.hInstance, nullptr);
    if (tray == nullptr) return 1;
    SendNotifyMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    const DWORD end = GetTickCount() + seconds * 1000;
    MSG message;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    DestroyWindow(tray);
    return received.firstAdd.empty() ? 1 : 0;
}
