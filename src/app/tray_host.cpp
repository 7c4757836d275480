#include "app/tray_host.h"

#include <string>
#include <utility>

#include "common/rounding.h"
#include "common/runtime_error.h"
#include "mixer/mixer_messages.h"
#include "resources/controller_form.h"
#include "resources/tray_host_form.h"
#include "ui/layout.h"

namespace qmx::app {

namespace {
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
                   MenuCommands& menu, TrayWheel& wheel)
    : ui::Form(platform.windows, resources::trayHostForm()),
      platform_(platform),
      programEnd_(programEnd),
      tray_(tray),
      mixer_(mixer),
      os_(os),
      guard_(guard),
      settings_(settings),
      controller_(controller),
      menu_(menu),
      wheel_(wheel),
      txtform1signal_(*this, resources::tray_host::TxtForm1Signal, "0"),
      txtMuteVal_(*this, resources::tray_host::TxtMuteVal, ""),
      tmrmute_(*this, resources::tray_host::TmrMute, resources::tray_host::kMuteIntervalMs,
               [this] { tmrmuteTick(); }),
      mmc1_(platform.sound),
      testSound_(mmc1_, platform.windows, platform.processes) {}

void TrayHost::initialize() {
    myProcessId_ = platform_.processes.currentProcessId();
    controller_.setWheelTakenAt([this](int x, int y) { return wheel_.takes(x, y); });
    menu_.setOutputSwitched([this] { tmrmuteTick(); });
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
        wheel_.pointerOverIcon(window());
    } else if (trayEvent == kRightButtonDown) {
        menu_.popUp(window());
    } else if (opens) {
        {
            const Flagged opening(opening_);
            openController();
        }
        if (deferredEvent_ != 0) trayCallback(std::exchange(deferredEvent_, 0));
    }
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

}  // namespace qmx::app
