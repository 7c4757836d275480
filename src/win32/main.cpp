#include <windows.h>

#include <objbase.h>

#include "app/application.h"
#include "common/event_log.h"
#include "mixer/endpoint_mixer.h"
#include "win32/audio/win32_audio_endpoints.h"
#include "win32/audio/win32_mixer.h"
#include "win32/audio/win32_sound.h"
#include "win32/gui/cursor_store.h"
#include "win32/gui/icon_store.h"
#include "win32/gui/picture_store.h"
#include "win32/gui/win32_windows.h"
#include "win32/system/system_library.h"
#include "win32/system/win32_log_file.h"
#include "win32/system/win32_processes.h"
#include "win32/system/win32_registry.h"
#include "win32/system/win32_shell.h"
#include "win32/system/win32_system.h"

namespace {

// The user-interface thread's COM apartment, for the Core Audio endpoint.
class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool ok_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    qmx::win32::Win32System system;
    qmx::win32::keepDllSearchToTheSystemFolder(system.version());
    ComApartment com;
    qmx::win32::IconStore icons(instance);
    qmx::win32::PictureStore pictures(instance);
    qmx::win32::CursorStore cursors(instance);
    qmx::win32::Win32Windows windows(instance, icons, pictures, cursors, system.kernelVersion());
    qmx::win32::Win32Shell shell(icons);
    qmx::win32::Win32Processes processes;
    qmx::win32::Win32Registry registry;
    qmx::win32::Win32Sound sound;
    qmx::win32::Win32AudioEndpoints endpoints(instance);
    qmx::win32::Win32LogFile logFile;
    qmx::EventLog log(logFile);
    // GetTickCount rather than GetTickCount64, which Windows XP lacks; the mixer takes differences.
    qmx::mixer::EndpointMixer endpointMixer(endpoints, log, [] { return GetTickCount(); });
    auto legacyMixer = qmx::win32::makeLegacyMixer();
    const bool coreAudio = system.version().major >= 6;
    qmx::platform::Mixer& mixer =
        coreAudio ? static_cast<qmx::platform::Mixer&>(endpointMixer) : *legacyMixer;
    qmx::platform::Platform platform{mixer,
                                     processes,
                                     registry,
                                     system,
                                     shell,
                                     windows,
                                     windows,
                                     windows,
                                     windows,
                                     windows,
                                     windows,
                                     sound,
                                     coreAudio ? &endpoints : nullptr};

    qmx::app::Application application(platform, log);
    application.start();

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // The controller's keys and wheel reach the controller itself.
        if (windows.preTranslate(message)) continue;
        // Tab, Enter and Esc work as in a dialog in the program's dialogs (About, Options), and
        // only there. Only keys need the dialog manager: the timers' many messages do not ask
        // for the active window.
        if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
            HWND active = GetActiveWindow();
            if (active != nullptr && (GetWindowLongA(active, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
                IsDialogMessageA(active, &message)) {
                continue;
            }
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
