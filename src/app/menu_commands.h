#pragma once

#include <functional>
#include <optional>

#include "app/about_box.h"
#include "app/output_menu.h"
#include "app/test_sound.h"
#include "common/event_log.h"
#include "common/program_end.h"
#include "controller/controller_window.h"
#include "controller/system_programs.h"
#include "platform/platform.h"
#include "settings/options_dialog.h"
#include "settings/settings_store.h"

namespace qmx::app {

// The tray menu `Base`: its check marks from the stored settings, the playback-device submenu,
// and what each item does, the switch of the system's default output among them.
class MenuCommands {
public:
    MenuCommands(platform::Platform& platform, EventLog& log, ProgramEnd& programEnd,
                 settings::SettingsStore& settings, controller::ControllerWindow& controller,
                 controller::SystemPrograms& programs, AboutBox& about,
                 settings::OptionsDialog& options, TestSound& testSound);

    // Called once another output has become the default, so that the tray icon follows at once.
    void setOutputSwitched(std::function<void()> outputSwitched) {
        outputSwitched_ = std::move(outputSwitched);
    }
    // Pops the menu up for the window `owner` (at `place`, else at the pointer) and runs the
    // chosen command; returns the item chosen, 0 when none was.
    int popUp(platform::WindowId owner, std::optional<platform::Rect> place = std::nullopt);
    // Whether the last command started another program, which then takes the foreground.
    bool startedProgram() const { return startedProgram_; }
    // Check marks of the menu items, as the menu last showed them.
    bool isChecked(int menuItem) const { return menuState_.checked.count(menuItem) != 0; }

private:
    void run(int item, platform::WindowId owner);
    void switchOutput(const platform::OutputDevice& output, platform::WindowId owner);
    void setChecked(int menuItem, bool checked);
    void toggleKeepOnTop();

    platform::Platform& platform_;
    EventLog& log_;
    ProgramEnd& programEnd_;
    settings::SettingsStore& settings_;
    controller::ControllerWindow& controller_;
    controller::SystemPrograms& programs_;
    AboutBox& about_;
    settings::OptionsDialog& options_;
    TestSound& testSound_;
    std::function<void()> outputSwitched_;
    bool startedProgram_ = false;
    platform::MenuState menuState_;
    OutputMenu outputMenu_;
};

}  // namespace qmx::app
