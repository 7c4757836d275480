#include "app/tray_host.h"

#include <string>

#include "common/rounding.h"
#include "common/runtime_error.h"
#include "mixer/mixer_messages.h"
#include "resources/tray_host_form.h"

namespace qmx::app {

namespace {
enum HiddenControl : int { TxtForm1Signal = 1, TxtMuteValBox };

// Start-up passes over a step that fails with a run-time error, silently.
template <typename Step>
void skipOnError(Step step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}
}  // namespace

TrayHost::TrayHost(platform::Platform& platform, ProgramEnd& programEnd, TrayIcon& tray,
                   mixer::MixerAccess& mixer, guards::OsInfo& os, guards::SingleInstance& guard,
                   controller::ControllerWindow& controller)
    : ui::Form(platform.windows, resources::trayHostForm()),
      platform_(platform),
      programEnd_(programEnd),
      tray_(tray),
      mixer_(mixer),
      os_(os),
      guard_(guard),
      controller_(controller),
      txtform1signal_(*this, TxtForm1Signal, "0"),
      txtMuteVal_(*this, TxtMuteValBox, ""),
      tmrmute_(*this, resources::tray_host::TmrMute, resources::tray_host::kMuteIntervalMs,
               [this] { tmrmuteTick(); }) {}

void TrayHost::initialize() {
    myProcessId_ = platform_.processes.currentProcessId();
    platform_.windows.initCommonControls();
    load();
}

void TrayHost::handleLoad() {
    skipOnError([this] { tray_.add(window()); });
    skipOnError([this] { guard_.CreateAppMutex(); });
    skipOnError([this] { os_.GetOSVersion(); });
    skipOnError([this] {
        if (!os_.isNtFamily()) programEnd_.fatal(guards::kUnsupportedSystem, kMbIconStop);
    });
    skipOnError([this] { os_.GetSysDir(); });
    skipOnError([this] {
        guard_.GetProcessIDs();
        guard_.CheckPrevInstance(myProcessId_);
    });
    skipOnError([this] { GetMuteComponents(); });
    skipOnError([this] { tmrmute_.setEnabled(true); });
    skipOnError([this] { txtform1signal_.setText("0"); });
    skipOnError([this] { controller_.load(); });
    skipOnError([this] { controller_.unload(); });
}

void TrayHost::GetMuteComponents() { mixer_.discover(records_, platform::kControlTypeMute); }

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

void TrayHost::onTaskbarCreated() { tray_.restore(); }

}  // namespace qmx::app
