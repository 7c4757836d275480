#include "app/menu_commands.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/output_switch.h"
#include "common/app_title.h"
#include "resources/about_form.h"
#include "resources/tray_menu.h"

namespace qmx::app {

namespace {
constexpr const char* kSwitchOutputFailed = "Unable to switch the playback device.";
// The system error whose HRESULT form is kDeviceNotConnected: its code is the HRESULT's low word.
constexpr std::uint32_t kDeviceNotConnectedError = platform::kDeviceNotConnected & 0xFFFF;

// Codes of a device that is no longer there, which the system describes in no words of its own.
bool deviceGone(std::uint32_t rc) {
    return rc == platform::kAudioDeviceInvalidated || rc == platform::kNotFound ||
           rc == platform::kDeviceNotConnected;
}
}  // namespace

MenuCommands::MenuCommands(platform::Platform& platform, ProgramEnd& programEnd,
                           settings::SettingsStore& settings,
                           controller::ControllerWindow& controller,
                           controller::SystemPrograms& programs, AboutBox& about,
                           settings::OptionsDialog& options, TestSound& testSound)
    : platform_(platform),
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
        if (system->activeOutputs(outputs) != platform::EndpointStatus::Ok) outputs.clear();
        if (system->defaultOutput(platform::Role::Console, defaultId) !=
            platform::EndpointStatus::Ok) {
            defaultId.clear();
        }
        items = outputMenu_.build(items, std::move(outputs), defaultId, menuState_);
    }
    const int chosen = platform_.menus.popupMenu(owner, items, menuState_);
    run(chosen, owner);
    return chosen;
}

// The chosen output becomes the default for every role; the tray icon and an open controller
// follow it at once. A failure is reported and changes nothing; an output unplugged while the
// menu was open is reported as not connected.
void MenuCommands::switchOutput(const platform::OutputDevice& output, platform::WindowId owner) {
    platform::AudioEndpoints& system = *platform_.outputs;
    std::vector<platform::OutputDevice> active;
    const bool present = system.activeOutputs(active) != platform::EndpointStatus::Ok ||
                         std::any_of(active.begin(), active.end(),
                                     [&](const auto& device) { return device.id == output.id; });
    const OutputSwitch done = present ? makeDefaultForEveryRole(system, output.id)
                                      : OutputSwitch{platform::kDeviceNotConnected, false};
    if (done.result != 0) {
        const std::uint32_t described =
            deviceGone(done.result) ? kDeviceNotConnectedError : done.result;
        platform_.messageBoxes.messageBox(
            owner,
            std::string(kSwitchOutputFailed) + " " + platform_.shell.errorDescription(described),
            kAppTitle, kMbIconExclamation);
        return;
    }
    if (!done.changed) return;
    if (outputSwitched_) outputSwitched_();
    if (controller_.loaded()) controller_.GetVolume();
}

bool MenuCommands::startsProgram(int menuItem) {
    using namespace resources::tray_menu;
    return menuItem == Omc || menuItem == Adjap || menuItem == Web;
}

void MenuCommands::run(int item, platform::WindowId owner) {
    using namespace resources::tray_menu;
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
            programs_.openVolumeControl(platform::kNoWindow);
            break;
        case Adjap:
            programs_.openAudioProperties(platform::kNoWindow);
            break;
        case Web:
            platform_.shell.openAddress(resources::about::kMakerAddress);
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
