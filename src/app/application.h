#pragma once

#include "app/about_box.h"
#include "app/menu_commands.h"
#include "app/message_logging.h"
#include "app/termination.h"
#include "app/tray_host.h"
#include "app/tray_icon.h"
#include "app/tray_wheel.h"
#include "common/event_log.h"
#include "controller/controller_window.h"
#include "controller/window_styling.h"
#include "mixer/mixer_access.h"
#include "platform/platform.h"
#include "settings/options_dialog.h"
#include "settings/settings_store.h"
#include "settings/shortcut_key.h"
#include "settings/startup_entry.h"
#include "system_checks/os_info.h"
#include "system_checks/single_instance.h"

namespace qmx::app {

// The whole program over one platform. start() runs the start-up sequence; afterwards the program
// lives in the platform's message loop.
class Application {
public:
    // `log` keeps what the system answered when the user asked for it.
    Application(platform::Platform& platform, EventLog& log);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Starts the log when the user asked for one, then the start-up sequence.
    void start();

    TrayHost& trayHost() { return trayHost_; }
    controller::ControllerWindow& controller() { return controller_; }
    mixer::MixerAccess& mixer() { return mixer_; }
    system_checks::OsInfo& os() { return os_; }
    settings::OptionsDialog& options() { return options_; }
    AboutBox& about() { return about_; }
    MenuCommands& menu() { return menu_; }
    EventLog& log() { return log_; }

private:
    EventLog& log_;
    MessageLogging messages_;
    platform::Platform platform_;
    ui::WindowServices windowServices_;
    TrayIcon tray_;
    Termination termination_;
    mixer::MixerAccess mixer_;
    system_checks::OsInfo os_;
    system_checks::SingleInstance guard_;
    settings::SettingsStore settings_;
    controller::WindowStyling styling_;
    settings::StartupEntry startup_;
    settings::ShortcutKey shortcut_;
    controller::SystemPrograms programs_;
    TrayHost trayHost_;
    controller::ControllerWindow controller_;
    AboutBox about_;
    settings::OptionsDialog options_;
    TrayWheel wheel_;
    MenuCommands menu_;
};

}  // namespace qmx::app
