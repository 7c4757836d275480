#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system.h"
#include "platform/window_events.h"

namespace qmx::platform {

// Add, Modify and Delete an icon; SetFocus gives the keyboard focus back to the notification
// area; SetVersion declares the callback's form (see kTrayIconVersion).
enum class TrayMessage : std::uint32_t {
    Add = 0,
    Modify = 1,
    Delete = 2,
    SetFocus = 3,
    SetVersion = 4
};

// The callback form declared after each Add (NOTIFYICON_VERSION, Windows 2000 and later): the
// mouse messages as before, and the keyboard's: Enter or Space on the icon (kTrayKeySelect),
// Shift+F10 or the menu key (kTrayContextMenu); a mouse click is also reported as a selection
// after its release (kTraySelect), a right click as a context-menu request after its release.
inline constexpr std::uint32_t kTrayIconVersion = 3;
inline constexpr int kTraySelect = 0x400;      // NIN_SELECT
inline constexpr int kTrayKeySelect = 0x401;   // NIN_KEYSELECT
inline constexpr int kTrayContextMenu = 0x7B;  // WM_CONTEXTMENU

inline constexpr std::uint32_t kTrayFlagMessage = 1;
inline constexpr std::uint32_t kTrayFlagIcon = 2;
inline constexpr std::uint32_t kTrayFlagTip = 4;

// The notification-area icon record, in the program's terms.
struct TrayIconData {
    WindowId window = kNoWindow;
    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    IconId icon = IconId::None;
    std::array<char, 64> tip{};
};

// The shell: the notification area and starting programs.
class Shell {
public:
    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    virtual ~Shell() = default;

    virtual bool notifyIcon(TrayMessage message, const TrayIconData& data) = 0;
    // Where the icon stands on the screen, in pixels. False where the shell cannot tell
    // (before Windows 7, or a shell without the call).
    virtual bool trayIconRect(const TrayIconData& data, Rect& rect) = 0;
    // Where the taskbar's notification area stands on the screen, in pixels (the taskbar's place
    // where the area cannot be told); false where there is no taskbar to find.
    virtual bool notificationAreaRect(Rect& area) = 0;
    // Where the taskbar stands on the screen, in pixels; false where there is none to find.
    virtual bool taskbarRect(Rect& taskbar) = 0;
    // Starts a program from a command line in a normal window that gets the focus, without
    // waiting for it, with `currentFolder` as its current folder. Returns 0, or the system's
    // error code.
    virtual std::uint32_t startProgram(std::string_view commandLine,
                                       std::string_view currentFolder) = 0;
    // The system's own description of an error code; "Error 0x…" with the code in hexadecimal
    // when the system has none.
    virtual std::string errorDescription(std::uint32_t error) = 0;
    // Opens an address with the shell's default action (the default browser for a web address);
    // false when the shell could not.
    virtual bool openAddress(std::string_view address) = 0;
    // Opens an address in a new window of the system's browser through its automation object;
    // false when that object cannot be created.
    virtual bool openInNewBrowserWindow(std::string_view address) = 0;
};

}  // namespace qmx::platform
