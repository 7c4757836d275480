#pragma once

#include "platform/forms.h"
#include "platform/shell.h"

namespace qmx::app {

// The program's notification-area icon: tip "Velto Volume Controller 4.0", callback message
// 0x201, picture normal or muted. It is taken away again before the program ends.
class TrayIcon {
public:
    TrayIcon(platform::Shell& shell, platform::Forms& forms);

    void add(platform::WindowId host);
    // Adds the icon again after the shell's notification area was recreated.
    void restore();
    void setTrayIconNormal() { show(platform::IconId::TrayNormal); }
    void setTrayIconMuted() { show(platform::IconId::TrayMuted); }
    void remove();
    // Shows the current picture again (the shell then takes it in its current size).
    void refresh() { show(trayIconData_.icon); }
    // Gives the keyboard focus back to the notification area, where a keyboard user left it.
    void returnFocus();

    const platform::TrayIconData& data() const { return trayIconData_; }

private:
    void show(platform::IconId icon);
    void addToShell();

    platform::Shell& shell_;
    platform::Forms& forms_;
    platform::TrayIconData trayIconData_;
    bool added_ = false;
};

inline constexpr std::uint32_t kTrayCallbackMessage = 0x201;

}  // namespace qmx::app
