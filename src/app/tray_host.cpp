#include "app/tray_host.h"

#include <algorithm>
#include <string>
#include <utility>

#include "common/app_title.h"
#include "common/rounding.h"
#include "common/runtime_error.h"
#include "controller/display_model.h"
#include "mixer/mixer_messages.h"
#include "resources/about_form.h"
#include "resources/controller_form.h"
#include "resources/tray_host_form.h"
#include "resources/tray_menu.h"
#include "ui/layout.h"

namespace qmx::app {

namespace {
enum HiddenControl : int { TxtForm1Signal = 1, TxtMuteValBox };
constexpr const char* kSwitchOutputFailed = "Unable to switch the playback device.";

// Start-up passes over a step that fails with a run-time error, silently.
template <typename Step>
void skipOnError(Step step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

// Holds a flag raised for its own lifetime, however that ends.
class Flagged {
public:
    explicit Flagged(bool& flag) : flag_(flag) { flag_ = true; }
    ~Flagged() { flag_ = false; }
    Flagged(const Flagged&) = delete;
    Flagged& operator=(const Flagged&) = delete;

private:
    bool& flag_;
};
}  // namespace

TrayHost::TrayHost(platform::Platform& platform, ProgramEnd& programEnd, TrayIcon& tray,
                   mixer::MixerAccess& mixer, guards::OsInfo& os, guards::SingleInstance& guard,
                   settings::SettingsStore& settings, controller::ControllerWindow& controller,
                   controller::SystemPrograms& programs, AboutBox& about,
                   settings::OptionsDialog& options)
    : ui::Form(platform.windows, resources::trayHostForm()),
      platform_(platform),
      programEnd_(programEnd),
      tray_(tray),
      mixer_(mixer),
      os_(os),
      guard_(guard),
      settings_(settings),
      controller_(controller),
      programs_(programs),
      about_(about),
      options_(options),
      txtform1signal_(*this, TxtForm1Signal, "0"),
      txtMuteVal_(*this, TxtMuteValBox, ""),
      tmrmute_(*this, resources::tray_host::TmrMute, resources::tray_host::kMuteIntervalMs,
               [this] { tmrmuteTick(); }),
      mmc1_(platform.sound),
      testSound_(mmc1_, platform.windows, platform.processes) {}

void TrayHost::initialize() {
    myProcessId_ = platform_.processes.currentProcessId();
    controller_.setWheelTakenAt([this](int x, int y) { return watchingPointer_ && onIcon(x, y); });
    platform_.windows.initCommonControls();
    load();
}

void TrayHost::handleLoad() {
    mmc1_.notifyWindow = window();
    skipOnError([this] { tray_.add(window()); });
    skipOnError([this] { guard_.CreateAppMutex(); });
    skipOnError([this] { os_.GetOSVersion(); });
    skipOnError([this] {
        if (!os_.isNtFamily()) programEnd_.fatal(guards::kUnsupportedSystem, kMbIconStop);
    });
    skipOnError([this] { os_.GetSysDir(); });
    skipOnError([this] {
        if (guard_.ClaimInstance(myProcessId_)) return;
        guard_.GetProcessIDs();
        guard_.CheckPrevInstance(myProcessId_);
    });
    skipOnError([this] { GetMuteComponents(); });
    skipOnError([this] { tmrmute_.setEnabled(true); });
    skipOnError([this] { txtform1signal_.setText("0"); });
    skipOnError([this] { controller_.load(); });
    skipOnError([this] { controller_.unload(); });
}

void TrayHost::GetMuteComponents() {
    mixer_.discover(records_, platform::kControlTypeMute);
}

void TrayHost::GetMuteVal() {
    const std::uint32_t value = mixer_.read(records_, mixer::kMuteReadFailed);
    txtMuteVal_.setText(std::to_string(static_cast<std::int32_t>(value)));
}

void TrayHost::tmrmuteTick() {
    GetMuteVal();
    const std::int32_t muted = textToInt32(txtMuteVal_.text());
    const bool controllerLoaded = textToInt32(txtform1signal_.text()) == 1;
    if (muted == 0) {
        if (controllerLoaded) controller_.chkmute().setValue(0);
        tray_.setTrayIconNormal();
    } else if (muted == 1) {
        if (controllerLoaded) controller_.chkmute().setValue(1);
        tray_.setTrayIconMuted();
    }
}

void TrayHost::onTaskbarCreated() {
    tray_.restore();
}

// The hidden host lives for the whole run: a request to close it (another program's WM_CLOSE,
// Alt+F4, an installer closing applications, the end of the session) ends the program as the
// menu's Close command does.
void TrayHost::onClose() {
    programEnd_.end(0);
}

void TrayHost::onSessionEnding() {
    programEnd_.end(0);
}

// The shell reports tray icon events as a left-button press on this hidden window whose
// horizontal coordinate carries the mouse event.
void TrayHost::handlePointerDown(int controlId, int, float x, float) {
    if (controlId != platform::kFormItself) return;
    const double twipsPerPixel = ui::twipsPerPixelAt(platform_.windows.windowDpi(window()));
    trayCallback(static_cast<int>(roundHalfEven(x / twipsPerPixel)));
}

void TrayHost::trayCallback(int trayEvent) {
    constexpr int kPointerMove = 0x200;
    constexpr int kLeftButtonUp = 0x202;
    constexpr int kLeftDoubleClick = 0x203;
    constexpr int kRightButtonDown = 0x204;
    const bool opens = trayEvent == kLeftButtonUp || trayEvent == kLeftDoubleClick;
    // The shell sends its callbacks, so one can arrive while the controller is being opened
    // (whenever this thread waits on another: showing, activation, focus, a set-up message box).
    // The opening finishes first; the click or the menu follows it.
    if (opening_ && (opens || trayEvent == kRightButtonDown)) {
        deferredEvent_ = trayEvent;
        return;
    }
    if (trayEvent == kPointerMove) {
        pointerOverIcon();
    } else if (trayEvent == kRightButtonDown) {
        popUpMenu();
    } else if (opens) {
        {
            const Flagged opening(opening_);
            openController();
        }
        if (deferredEvent_ != 0) trayCallback(std::exchange(deferredEvent_, 0));
    }
}

// The notification area sends no wheel to its icons. Once the pointer is on the icon, the host
// watches the pointer and the wheel until the pointer leaves the icon's place; where the shell
// cannot tell that place, the wheel over the icon does nothing.
void TrayHost::pointerOverIcon() {
    if (watchingPointer_) return;
    if (!platform_.shell.trayIconRect(tray_.data(), iconRect_)) return;
    wheel_.reset();
    watchingPointer_ = platform_.windows.watchPointer(window(), true);
    if (watchingPointer_) watchStillOn_ = false;
}

bool TrayHost::onIcon(int x, int y) const {
    return x >= iconRect_.left && x < iconRect_.right && y >= iconRect_.top && y < iconRect_.bottom;
}

void TrayHost::stopWatchingPointer() {
    watchingPointer_ = false;
    watchStillOn_ = !platform_.windows.watchPointer(window(), false);
}

void TrayHost::handlePointerWatched(int x, int y, int wheelDelta) {
    if (!watchingPointer_) {
        // A watch whose end failed still reports the pointer everywhere: end it again.
        if (watchStillOn_) stopWatchingPointer();
        return;
    }
    if (!onIcon(x, y)) {
        stopWatchingPointer();
        return;
    }
    const int steps = wheel_.add(wheelDelta);
    if (steps != 0) changeVolumeBy(steps);
}

// The master volume up or down by whole percent; an open controller follows at its next tick.
void TrayHost::changeVolumeBy(int percent) {
    mixer_.discover(volumeRecords_, platform::kControlTypeVolume);
    const std::uint32_t level = mixer_.read(volumeRecords_, mixer::kVolumeReadFailed);
    const std::int32_t now = controller::volumePercent(level);
    const std::int32_t wanted = std::clamp(now + percent, 0, 100);
    if (wanted != now) mixer_.write(volumeRecords_, controller::levelForKnobStep(100 - wanted));
}

// The controller opens afresh every time, in the stored skin, and follows the volume.
void TrayHost::openController() {
    if (controller_.loaded()) controller_.unload();
    controller_.show();
    controller_.applySkin(settings::isVistaSkin(settings_.GetSkin()));
    platform_.windows.clickButton(controller_.window(), resources::controller::Command1);
    // Screen readers speak the focused control: the knob, read as the volume slider.
    platform_.windows.focusControl(controller_.window(), resources::controller::Knob);
    controller_.tmrsyncvol().setEnabled(true);
}

void TrayHost::setChecked(int menuItem, bool checked) {
    if (checked) {
        menuState_.checked.insert(menuItem);
    } else {
        menuState_.checked.erase(menuItem);
    }
}

void TrayHost::popUpMenu() {
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
    platform_.windows.setForegroundWindow(window());
    menuState_.defaultItem = Exitqmx;
    std::span<const resources::MenuItemDefinition> items = resources::trayMenu();
    if (platform::AudioEndpoints* system = platform_.outputs) {
        std::vector<platform::OutputDevice> outputs;
        std::string defaultId;
        if (system->activeOutputs(outputs) != platform::EndpointStatus::Ok) outputs.clear();
        if (system->defaultOutput(defaultId) != platform::EndpointStatus::Ok) defaultId.clear();
        items = outputMenu_.build(items, std::move(outputs), defaultId, menuState_);
    }
    runMenuCommand(platform_.windows.popupMenu(window(), items, menuState_));
}

// The chosen output becomes the default for every role; the tray icon and an open controller
// follow it at once. A failure is reported and changes nothing.
void TrayHost::switchOutput(const platform::OutputDevice& output) {
    std::string current;
    if (platform_.outputs->defaultOutput(current) == platform::EndpointStatus::Ok &&
        current == output.id) {
        return;
    }
    const std::uint32_t rc = platform_.outputs->setDefaultOutput(output.id);
    if (rc != 0) {
        platform_.windows.messageBox(
            window(), std::string(kSwitchOutputFailed) + " " + platform_.shell.errorDescription(rc),
            kAppTitle, kMbIconExclamation);
        return;
    }
    tmrmuteTick();
    if (controller_.loaded()) controller_.GetVolume();
}

void TrayHost::runMenuCommand(int item) {
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
            programEnd_.end(0);
            break;
        default:
            if (const auto* output = outputMenu_.outputFor(item)) switchOutput(*output);
            break;
    }
}

// The controller takes the new place in the z-order at once; a closed one opens for it.
void TrayHost::toggleKeepOnTop() {
    using resources::tray_menu::Ontop;
    constexpr unsigned kFlags =
        platform::kSwpNoMove | platform::kSwpNoSize | platform::kSwpShowWindow;
    const bool wasOnTop = isChecked(Ontop);
    controller_.ensureLoaded();
    platform_.windows.setWindowPos(
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
