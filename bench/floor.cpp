// The floor for the idle benchmark: a Windows program that does exactly the work the design
// prescribes and nothing else. A hidden window puts a tray icon of the same size up, reads the
// mute state of the default output and hands the shell its icon again every 100 ms; with "open"
// it also reads the volume every 1 ms, as the open controller does.
#include <windows.h>

// clang-format off
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include <shellapi.h>
// clang-format on

#include <cstring>

namespace {

constexpr UINT_PTR kMutePoll = 1;
constexpr UINT_PTR kVolumePoll = 2;
IAudioEndpointVolume* volume = nullptr;
NOTIFYICONDATAA icon{};

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && volume != nullptr) {
        if (wParam == kMutePoll) {
            BOOL muted = FALSE;
            volume->GetMute(&muted);
            Shell_NotifyIconA(NIM_MODIFY, &icon);
        } else if (wParam == kVolumePoll) {
            float level = 0;
            volume->GetMasterVolumeLevelScalar(&level);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IMMDeviceEnumerator* devices = nullptr;
    IMMDevice* output = nullptr;
    if (SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                   __uuidof(IMMDeviceEnumerator),
                                   reinterpret_cast<void**>(&devices))) &&
        SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &output))) {
        output->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                         reinterpret_cast<void**>(&volume));
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "FloorHost";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(WS_EX_TOOLWINDOW, "FloorHost", "", WS_POPUP, 0, 0, 90, 28, nullptr,
                                nullptr, instance, nullptr);
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = host;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_TIP;
    icon.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    std::strcpy(icon.szTip, "Floor");
    Shell_NotifyIconA(NIM_ADD, &icon);
    SetTimer(host, kMutePoll, 100, nullptr);
    if (std::strstr(commandLine, "open") != nullptr) {
        CreateWindowExA(WS_EX_TOOLWINDOW, "FloorHost", "", WS_POPUP | WS_VISIBLE, 874, 578, 67, 186,
                        nullptr, nullptr, instance, nullptr);
        SetTimer(host, kVolumePoll, 1, nullptr);
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
