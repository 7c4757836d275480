#pragma once

#include "common/event_log.h"
#include "mixer/backoff.h"
#include "platform/forms.h"
#include "platform/shell.h"
#include "platform/timers.h"

namespace qmx::app {

// The program's notification-area icon: tip "Velto Volume Controller 4.0", callback message
// 0x201, picture normal or muted. It is taken away again before the program ends.
//
// The shell may refuse the icon (a program started at logon before the notification area takes
// icons, a new taskbar that announced itself before it takes them) and may lose it (a picture
// change the shell answers with no such icon); no further notice comes then. Until the icon
// stands, each change of picture adds it again once the wait that doubles from 1 s to 30 s is
// over.
class TrayIcon {
public:
    TrayIcon(platform::Shell& shell, platform::Forms& forms, platform::Timers& timers,
             EventLog& log);

    void add(platform::WindowId host);
    // Adds the icon again after the shell's notification area was recreated.
    void restore();
    bool standing() const { return standing_; }
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
    void placed(bool held);

    platform::Shell& shell_;
    platform::Forms& forms_;
    platform::Timers& timers_;
    EventLog& log_;
    platform::TrayIconData trayIconData_;
    bool added_ = false;     // the program shows an icon (until it ends)
    bool standing_ = false;  // and the shell took it
    mixer::Backoff retry_{1000, 30000};
};

inline constexpr std::uint32_t kTrayCallbackMessage = 0x201;

}  // namespace qmx::app
