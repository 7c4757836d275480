#include "app/menu_commands.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/output_switch.h"
#include "app/switch_failure.h"
#include "common/app_title.h"
#include "resources/about_form.h"
#include "resources/tray_menu.h"

namespace qmx::app {

MenuCommands::MenuCommands(platform::Platform& platform, EventLog& log, ProgramEnd& programEnd,
                           settings::SettingsStore& settings,
                           controller::ControllerWindow& controller,
                           controller::SystemPrograms& programs, AboutBox& about,
                           settings::OptionsDialog& options, TestSound& testSound)
    : platform_(platform),
      log_(log),
      programEnd_(programEnd),
      settings_(settings),
      controller_(controller),
      programs_(programs),
      about_(about),
      options_(options),
      testSound_(testSound) {}

void MenuCommands::setChecked(int menuItem, bool checked) {
    if (checked) {
        menuState_.checked.insert(menuItem);
    } else {
        menuState_.checked.erase(menuItem);
    }
}

int MenuCommands::popUp(platform::WindowId owner, std::optional<platform::Rect> place) {
    using namespace resources::tray_menu;
    const std::int32_t onTop = settings_.GetOnTopStat();
    if (onTop == 1) {
        setChecked(Ontop, true);
    } else if (onTop == 0) {
        setChecked(Ontop, false);
    }
    const bool vista = settings::isVistaSkin(settings_.GetSkin());
    setChecked(vista ? Vista : Classic, true);
    setChecked(vista ? Classic : Vista, false);
    platform_.placement.setForegroundWindow(owner);
    menuState_.defaultItem = Exitqmx;
    menuState_.place = place;
    std::span<const resources::MenuItemDefinition> items = resources::trayMenu();
    if (platform::AudioEndpoints* system = platform_.outputs) {
        std::vector<platform::OutputDevice> outputs;
        std::string defaultId;
        if (!platform::succeeded(system->activeOutputs(outputs))) outputs.clear();
        if (!platform::succeeded(system->defaultOutput(platform::Role::Console, defaultId))) {
            defaultId.clear();
        }
        items = outputMenu_.build(items, std::move(outputs), defaultId, menuState_);
    }
    const int chosen = platform_.menus.popupMenu(owner, items, menuState_);
    run(chosen, owner);
    return chosen;
}

// The chosen output becomes the default for every role; the tray icon and an open controller
// follow what changed at once. A failure is reported with the roles it left switched; an output
// unplugged while the menu was open is reported as not connected.
void MenuCommands::switchOutput(const platform::OutputDevice& output, platform::WindowId owner) {
    platform::AudioEndpoints& system = *platform_.outputs;
    std::vector<platform::OutputDevice> active;
    const bool present = !platform::succeeded(system.activeOutputs(active)) ||
                         std::any_of(active.begin(), active.end(),
                                     [&](const auto& device) { return device.id == output.id; });
    const OutputSwitch done = present ? makeDefaultForEveryRole(system, output.id, log_)
                                      : OutputSwitch{platform::kDeviceNotConnected, false, {}};
    if (done.changed) {
        if (outputSwitched_) outputSwitched_();
        if (controller_.loaded()) controller_.GetVolume();
    }
    if (done.result != 0) {
        platform_.messageBoxes.messageBox(owner, switchFailureMessage(done, platform_.shell),
                                          kAppTitle, kMbIconExclamation);
    }
}

void MenuCommands::run(int item, platform::WindowId owner) {
    using namespace resources::tray_menu;
    startedProgram_ = false;
    switch (item) {
        case Abt:
            about_.bringToFront();
            break;
        case Vista:
            // Stored and applied at once; a closed controller opens for it (without following
            // the volume, unlike a tray click).
            settings_.setSkinVista();
            controller_.applySkin(true);
            break;
        case Classic:
            settings_.setSkinClassic();
            controller_.applySkin(false);
            break;
        case Opt:
            options_.bringToFront();
            break;
        case Ts:
            testSound_.play();
            break;
        case Ontop:
            toggleKeepOnTop();
            break;
        case Omc:
            startedProgram_ = programs_.openVolumeControl(platform::kNoWindow);
            break;
        case Adjap:
            startedProgram_ = programs_.openAudioProperties(platform::kNoWindow);
            break;
        case Web:
            startedProgram_ = platform_.shell.openAddress(resources::about::kMakerAddress);
            break;
        case Exitqmx:
            programEnd_.end(0, EndCause::CloseCommand);
            break;
        default:
            if (const auto* output = outputMenu_.outputFor(item)) switchOutput(*output, owner);
            break;
    }
}

// The controller takes the new place in the z-order at once; a closed one opens for it.
void MenuCommands::toggleKeepOnTop() {
    using resources::tray_menu::Ontop;
    constexpr unsigned kFlags =
        platform::kSwpNoMove | platform::kSwpNoSize | platform::kSwpShowWindow;
    const bool wasOnTop = isChecked(Ontop);
    controller_.ensureLoaded();
    platform_.placement.setWindowPos(
        controller_.window(), wasOnTop ? platform::ZOrder::NoTopMost : platform::ZOrder::TopMost, 0,
        0, 0, 0, kFlags);
    setChecked(Ontop, !wasOnTop);
    if (wasOnTop) {
        settings_.setOnTopOff();
    } else {
        settings_.setOnTopOn();
    }
}

}  // namespace qmx::app
