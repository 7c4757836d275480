#pragma once

#include <cstdint>

#include "app/about_box.h"
#include "app/output_menu.h"
#include "app/test_sound.h"
#include "app/tray_icon.h"
#include "common/program_end.h"
#include "controller/controller_window.h"
#include "guards/os_info.h"
#include "guards/single_instance.h"
#include "mixer/mixer_access.h"
#include "platform/platform.h"
#include "settings/options_dialog.h"
#include "settings/settings_store.h"
#include "ui/controls.h"
#include "ui/wheel_steps.h"

namespace qmx::app {

// The hidden tray host (Form2): the start-up object and main window of the program. It owns the
// tray icon and polls the mute state for the whole run.
class TrayHost : public ui::Form {
public:
    TrayHost(platform::Platform& platform, ProgramEnd& programEnd, TrayIcon& tray,
             mixer::MixerAccess& mixer, guards::OsInfo& os, guards::SingleInstance& guard,
             settings::SettingsStore& settings, controller::ControllerWindow& controller,
             controller::SystemPrograms& programs, AboutBox& about,
             settings::OptionsDialog& options);

    // Start-up: initialisation, then the load sequence.
    void initialize();
    // Reads the mute state into TxtMuteVal.
    void GetMuteVal();

    ui::TextBox& txtform1signal() { return txtform1signal_; }
    ui::TextBox& TxtMuteVal() { return txtMuteVal_; }
    ui::Timer& tmrmute() { return tmrmute_; }
    std::uint32_t myProcessId() const { return myProcessId_; }

    void onTaskbarCreated() override;
    void onClose() override;
    void onSessionEnding() override;
    void onMultimediaNotify(int code, std::uint32_t deviceId) override {
        testSound_.done(code, deviceId);
    }
    // Runs the command of a menu item.
    void runMenuCommand(int item);
    MultimediaControl& mmc1() { return mmc1_; }

    // Check marks of the menu items, as the menu last showed them.
    bool isChecked(int menuItem) const { return menuState_.checked.count(menuItem) != 0; }

protected:
    void handleLoad() override;
    void handlePointerDown(int controlId, int button, float x, float y) override;
    void handlePointerWatched(int x, int y, int wheelDelta) override;
    // The primary monitor's scale changed: the icon goes again, in the size for the new scale.
    void handleDpiChanged(int) override { tray_.refresh(); }

private:
    void GetMuteComponents();
    void tmrmuteTick();
    void trayCallback(int trayEvent);
    void openController();
    void popUpMenu();
    void switchOutput(const platform::OutputDevice& output);
    void setChecked(int menuItem, bool checked);
    void toggleKeepOnTop();
    void pointerOverIcon();
    void stopWatchingPointer();
    bool onIcon(int x, int y) const;
    void changeVolumeBy(int percent);

    platform::Platform& platform_;
    ProgramEnd& programEnd_;
    TrayIcon& tray_;
    mixer::MixerAccess& mixer_;
    guards::OsInfo& os_;
    guards::SingleInstance& guard_;
    settings::SettingsStore& settings_;
    controller::ControllerWindow& controller_;
    controller::SystemPrograms& programs_;
    AboutBox& about_;
    settings::OptionsDialog& options_;
    mixer::MixerRecords records_;
    std::uint32_t myProcessId_ = 0;
    ui::TextBox txtform1signal_;
    ui::TextBox txtMuteVal_;
    ui::Timer tmrmute_;
    platform::MenuState menuState_;
    OutputMenu outputMenu_;
    MultimediaControl mmc1_;
    TestSound testSound_;
    // The wheel over the icon: watched only while the pointer is on the icon.
    bool watchingPointer_ = false;
    bool watchStillOn_ = false;  // ending the watch failed: it is ended again at the next report
    bool opening_ = false;       // the controller is being opened
    int deferredEvent_ = 0;      // a click or menu request that arrived meanwhile
    platform::Rect iconRect_;
    ui::WheelSteps wheel_;
    mixer::MixerRecords volumeRecords_;
};

}  // namespace qmx::app
