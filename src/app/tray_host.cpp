#include "app/tray_host.h"

#include <optional>
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
constexpr int kPointerMove = 0x200;
constexpr int kLeftButtonUp = 0x202;
constexpr int kLeftDoubleClick = 0x203;
constexpr int kRightButtonDown = 0x204;
constexpr int kRightButtonUp = 0x205;

// Holds a flag raised for its own lifetime, however that ends.
class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopedFlag() { flag_ = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
};

bool overlaps(const platform::Rect& a, const platform::Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
}  // namespace

TrayHost::TrayHost(platform::Platform& platform, ProgramEnd& programEnd, TrayIcon& tray,
                   mixer::MixerAccess& mixer, system_checks::OsInfo& os,
                   system_checks::SingleInstance& guard, settings::SettingsStore& settings,
                   settings::ShortcutKey& shortcut, controller::ControllerWindow& controller,
                   MenuCommands& menu, TrayWheel& wheel)
    : ui::Form({platform.forms, platform.placement, platform.timers}, resources::trayHostForm()),
      platform_(platform),
      programEnd_(programEnd),
      tray_(tray),
      mixer_(mixer),
      os_(os),
      guard_(guard),
      settings_(settings),
      shortcut_(shortcut),
      controller_(controller),
      menu_(menu),
      wheel_(wheel),
      txtform1signal_(*this, resources::tray_host::TxtForm1Signal, "0"),
      txtMuteVal_(*this, resources::tray_host::TxtMuteVal, ""),
      tmrmute_(*this, resources::tray_host::TmrMute, resources::tray_host::kMuteIntervalMs,
               [this] { tmrmuteTick(); }),
      mmc1_(platform.sound),
      testSound_(mmc1_, platform.messageBoxes, platform.processes) {}

void TrayHost::initialize() {
    myProcessId_ = platform_.processes.currentProcessId();
    controller_.setWheelTakenAt([this](int x, int y) { return wheel_.takes(x, y); });
    menu_.setOutputSwitched([this] { tmrmuteTick(); });
    // A keyboard user who closes the controller with Esc is back where they started.
    controller_.setClosedWithEscape([this] {
        if (keyboardOpened_) tray_.returnFocus();
    });
    platform_.forms.initCommonControls();
    load();
}

void TrayHost::handleLoad() {
    mmc1_.notifyWindow = window();
    skipOnError([this] { tray_.add(window()); });
    skipOnError([this] { guard_.CreateAppMutex(); });
    skipOnError([this] { os_.GetOSVersion(); });
    skipOnError([this] {
        if (!os_.isNtFamily()) programEnd_.fatal(system_checks::kUnsupportedSystem, kMbIconStop);
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
    skipOnError([this] { shortcut_.registerStored(window()); });
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
    programEnd_.end(0, EndCause::CloseRequest);
}

void TrayHost::onSessionEnding() {
    programEnd_.end(0, EndCause::SessionEnd);
}

// The shell reports tray icon events as a left-button press on this hidden window whose
// horizontal coordinate carries the mouse event.
void TrayHost::handlePointerDown(int controlId, int, float x, float) {
    if (controlId != platform::kFormItself) return;
    const double twipsPerPixel = ui::twipsPerPixelAt(platform_.forms.windowDpi(window()));
    trayCallback(static_cast<int>(roundHalfEven(x / twipsPerPixel)));
}

// The shell reports a mouse click also as a selection after the button's release, and a right
// click also as a context-menu request after its release (the callback form declared with the
// icon): one gesture is one action, so such a report directly after its release, within the
// double-click time, is passed over; one that comes alone (a shell that never sends the pair, or
// the keyboard later) acts. The keyboard's Enter or Space and Shift+F10 or the menu key come
// only as a selection and a context-menu request. The time counts from the end of the previous
// report's handling: a selection that waited while the click's opening took longer than the
// double-click time still directly follows its release.
void TrayHost::trayCallback(int trayEvent) {
    const std::uint32_t now = platform_.timers.tickCount();
    const unsigned doubleClickMs = platform_.input.doubleClickTime();
    const int previous = std::exchange(lastEvent_, trayEvent);
    const bool directly = now - std::exchange(lastEventAt_, now) <= doubleClickMs;
    const bool afterClick = previous == kLeftButtonUp || previous == kLeftDoubleClick;
    const bool afterRightClick = previous == kRightButtonDown || previous == kRightButtonUp;
    if (directly && trayEvent == platform::kTraySelect && afterClick) return;
    if (directly && trayEvent == platform::kTrayContextMenu && afterRightClick) return;
    if (trayEvent == platform::kTrayKeySelect) {
        const auto before = std::exchange(lastKeySelectAt_, now);
        keySelectRepeated_ = before && now - *before <= doubleClickMs;
    }
    respond(trayEvent);
    lastEventAt_ = platform_.timers.tickCount();
}

void TrayHost::respond(int trayEvent) {
    const bool byKeyboard = trayEvent == platform::kTrayKeySelect ||
                            trayEvent == platform::kTraySelect ||
                            trayEvent == platform::kTrayContextMenu;
    const bool opens = trayEvent == kLeftButtonUp || trayEvent == kLeftDoubleClick ||
                       trayEvent == platform::kTrayKeySelect || trayEvent == platform::kTraySelect;
    const bool menu = trayEvent == kRightButtonDown || trayEvent == platform::kTrayContextMenu;
    if (menu && menuOpen_) return;
    // The shell sends its callbacks, so one can arrive while the controller is being opened
    // (whenever this thread waits on another: showing, activation, focus, a set-up message box).
    // The opening finishes first; the click or the menu follows it.
    if (opening_ && (opens || menu)) {
        deferredEvent_ = trayEvent;
        return;
    }
    if (trayEvent == kPointerMove) {
        wheel_.pointerOverIcon(window());
    } else if (menu) {
        popUpMenu(byKeyboard);
    } else if (opens && byKeyboard && keepsController(trayEvent)) {
        keepController(true);
    } else if (opens) {
        openThenWaiting(byKeyboard);
    }
}

// Windows sends NIN_KEYSELECT twice for one Enter (public reports of other tray programs, such as
// PowerToys' tracker: Enter on its icon opens two Settings windows): a key selection that follows
// another within the double-click time, or finds the controller open in front, keeps it as it
// stands. Opening it afresh would make it flicker, a screen reader announce it twice, and the new
// one might not get the foreground.
bool TrayHost::keepsController(int trayEvent) {
    if (!controller_.loaded()) return false;
    if (trayEvent == platform::kTrayKeySelect && keySelectRepeated_) return true;
    return platform_.placement.isForegroundWindow(controller_.window());
}

// Opens the controller, then runs the click or menu request that arrived meanwhile.
void TrayHost::openThenWaiting(bool fromKeyboard) {
    {
        const ScopedFlag opening(opening_);
        openController(fromKeyboard);
    }
    if (deferredEvent_ != 0) respond(std::exchange(deferredEvent_, 0));
}

// From the keyboard the menu stands at the icon, else at the notification area, else at the
// pointer. Before Windows 7 the shell cannot tell the icon's place, and it may tell a wrong one:
// for an icon hidden in the overflow (emoacht/Monitorian#391 on Windows 11,
// electron/electron#16155 and #17852 on 7 and 10), and {0,0,0,0} or y = 0
// (binaricat/Netcatty#3068); so the icon's place counts only where it lies on the taskbar.
std::optional<platform::Rect> TrayHost::keyboardMenuPlace() {
    platform::Rect icon, area, taskbar;
    const bool hasArea = platform_.shell.notificationAreaRect(area);
    if (platform_.shell.trayIconRect(tray_.data(), icon) && icon.right > icon.left &&
        icon.bottom > icon.top &&
        ((hasArea && overlaps(icon, area)) ||
         (platform_.shell.taskbarRect(taskbar) && overlaps(icon, taskbar)))) {
        return icon;
    }
    if (hasArea) return area;
    return std::nullopt;
}

// Afterwards the focus goes back to the notification area, unless a window took it: one of ours
// that the command showed, or a program it started (which comes up later). A command that shows
// the controller (Keep Controller on Top, a skin for a closed one) activates it: SetWindowPos
// without SWP_NOACTIVATE does. The keyboard user is in the controller then, on its knob, and Esc
// brings them back.
void TrayHost::popUpMenu(bool fromKeyboard) {
    const std::optional<platform::Rect> place =
        fromKeyboard ? keyboardMenuPlace() : std::optional<platform::Rect>();
    {
        const ScopedFlag open(menuOpen_);
        menu_.popUp(window(), place);
    }
    if (!fromKeyboard) return;
    if (controller_.loaded() && platform_.placement.isForegroundWindow(controller_.window())) {
        keyboardOpened_ = true;
        platform_.input.focusControl(controller_.window(), resources::controller::Knob);
    } else if (!menu_.startedProgram() && platform_.placement.isForegroundWindow(window())) {
        tray_.returnFocus();
    }
}

// The shortcut key opens the controller in front; pressed again while the controller is the
// active window, it closes it as its close button does. During the fade-out it counts as a
// request to open: the controller stands. While the tray menu is up it does nothing: the menu
// holds the keyboard until it closes, so a controller opened meanwhile would take no keys, and
// the menu's commands (a skin, Keep Controller on Top) act on the controller themselves.
void TrayHost::onHotKey(int) {
    if (menuOpen_ || opening_) return;
    if (controller_.loaded() && controller_.fading()) {
        keepController(false);
    } else if (controller_.loaded() &&
               platform_.placement.isForegroundWindow(controller_.window())) {
        controller_.close();
    } else {
        openThenWaiting(false);
    }
}

// The controller opens afresh every time, in the stored skin, and follows the volume.
void TrayHost::openController(bool fromKeyboard) {
    keyboardOpened_ = fromKeyboard;
    if (controller_.loaded()) controller_.unload();
    controller_.show();
    controller_.applySkin(settings::isVistaSkin(settings_.GetSkin()));
    bringControllerForward();
    controller_.tmrsyncvol().setEnabled(true);
}

// The open controller stays where and as it is; a fade-out stops.
void TrayHost::keepController(bool fromKeyboard) {
    keyboardOpened_ = fromKeyboard;
    controller_.stopFadeOut();
    bringControllerForward();
}

void TrayHost::bringControllerForward() {
    platform_.input.clickButton(controller_.window(), resources::controller::Command1);
    // Screen readers speak the focused control: the knob, read as the volume slider.
    platform_.input.focusControl(controller_.window(), resources::controller::Knob);
}

}  // namespace qmx::app
