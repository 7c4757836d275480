#pragma once

#include <cstdint>
#include <optional>

#include "app/menu_commands.h"
#include "app/test_sound.h"
#include "app/tray_icon.h"
#include "app/tray_wheel.h"
#include "common/program_end.h"
#include "controller/controller_window.h"
#include "mixer/mixer_access.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "settings/shortcut_key.h"
#include "system_checks/os_info.h"
#include "system_checks/single_instance.h"
#include "ui/controls.h"

namespace qmx::app {

// The hidden tray host (Form2): the start-up object and main window of the program. It owns the
// tray icon and polls the mute state for the whole run; the tray icon's clicks reach it, and it
// hands the menu and the wheel over the icon to their own classes.
class TrayHost : public ui::Form {
public:
    TrayHost(platform::Platform& platform, ProgramEnd& programEnd, TrayIcon& tray,
             mixer::MixerAccess& mixer, system_checks::OsInfo& os,
             system_checks::SingleInstance& guard, settings::SettingsStore& settings,
             settings::ShortcutKey& shortcut, controller::ControllerWindow& controller,
             MenuCommands& menu, TrayWheel& wheel);

    // Start-up: initialisation, then the load sequence.
    void initialize();
    // Reads the mute state into TxtMuteVal.
    void GetMuteVal();

    ui::TextBox& txtform1signal() { return txtform1signal_; }
    ui::TextBox& TxtMuteVal() { return txtMuteVal_; }
    MultimediaControl& mmc1() { return mmc1_; }
    TestSound& testSound() { return testSound_; }

    void onTaskbarCreated() override;
    void onClose() override;
    void onSessionEnding() override;
    void onMultimediaNotify(int code, std::uint32_t deviceId) override {
        testSound_.done(code, deviceId);
    }
    void onHotKey(int id) override;

protected:
    void handleLoad() override;
    void handlePointerDown(int controlId, int button, float x, float y) override;
    void handlePointerWatched(int x, int y, int wheelDelta) override {
        wheel_.pointerWatched(window(), x, y, wheelDelta);
    }
    // The primary monitor's scale changed: the icon goes again, in the size for the new scale.
    void handleDpiChanged(int) override { tray_.refresh(); }

private:
    void GetMuteComponents();
    void tmrmuteTick();
    void trayCallback(int trayEvent);
    void respond(int trayEvent);
    bool keepsController(int trayEvent);
    void openController(bool fromKeyboard);
    void openThenWaiting(bool fromKeyboard);
    void keepController(bool fromKeyboard);
    void bringControllerForward();
    void popUpMenu(bool fromKeyboard);
    std::optional<platform::Rect> keyboardMenuPlace();

    platform::Platform& platform_;
    ProgramEnd& programEnd_;
    TrayIcon& tray_;
    mixer::MixerAccess& mixer_;
    system_checks::OsInfo& os_;
    system_checks::SingleInstance& guard_;
    settings::SettingsStore& settings_;
    settings::ShortcutKey& shortcut_;
    controller::ControllerWindow& controller_;
    MenuCommands& menu_;
    TrayWheel& wheel_;
    mixer::MixerRecords records_;
    std::uint32_t myProcessId_ = 0;
    ui::TextBox txtform1signal_;
    ui::TextBox txtMuteVal_;
    ui::Timer tmrmute_;
    MultimediaControl mmc1_;
    TestSound testSound_;
    bool opening_ = false;           // the controller is being opened
    int deferredEvent_ = 0;          // a click or menu request that arrived meanwhile
    int lastEvent_ = 0;              // the tray callback's previous event
    std::uint32_t lastEventAt_ = 0;  // and when its handling ended (tickCount)
    std::optional<std::uint32_t> lastKeySelectAt_;  // the time of the last key selection
    bool keySelectRepeated_ = false;  // it followed another within the double-click time
    bool menuOpen_ = false;           // the menu is up
    bool keyboardOpened_ = false;     // the open controller came from the icon by keyboard
};

}  // namespace qmx::app
