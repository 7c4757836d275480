#include "controller/controller_window.h"

#include "common/app_title.h"
#include "common/rounding.h"
#include "common/runtime_error.h"
#include "controller/display_model.h"
#include "mixer/mixer_messages.h"
#include "resources/controller_form.h"

namespace qmx::controller {

namespace {
constexpr const char* kVolumeTypeText = "1342373889";
constexpr const char* kMuteTypeText = "536936450";
}  // namespace

using namespace resources::controller;

ControllerWindow::ControllerWindow(platform::WindowSystem& windows, mixer::MixerAccess& mixer,
                                   ui::TextBox& loadedSignal)
    : ui::Form(windows, resources::controllerForm()),
      mixer_(mixer),
      loadedSignal_(loadedSignal),
      label2_(*this, Label2),
      knob_(*this, Knob),
      chkmute_(*this, ChkMute, [this] { chkmuteClick(); }) {}

// A failing set-up step is reported with its description and set-up goes on with the next.
template <typename Step>
void ControllerWindow::setUpStep(Step step) {
    try {
        step();
    } catch (const RuntimeError& failure) {
        windows().messageBox(failure.what(), kAppTitle, kMbIconExclamation);
    }
}

void ControllerWindow::handleLoad() {
    setUpStep([this] { loadedSignal_.setText("1"); });
    setUpStep([this] { GetCoreComponents(kVolumeTypeText); });
    setUpStep([this] { GetVolume(); });
}

void ControllerWindow::handleUnload() { loadedSignal_.setText("0"); }

void ControllerWindow::handleClick(int controlId) {
    if (controlId == ChkMute) chkmute_.clickedByUser();
}

void ControllerWindow::GetCoreComponents(const std::string& mixcontroltype) {
    const auto controlType = static_cast<std::uint32_t>(textToInt32(mixcontroltype));
    mixer_.discover(records_, controlType);
    const auto& name = records_.lineInfo.targetProductName;
    mixer_.shared().mixerName.assign(name.data(), name.size());
}

void ControllerWindow::GetVolume() {
    const std::uint32_t level = mixer_.read(records_, mixer::kVolumeReadFailed);
    const std::int32_t percent = volumePercent(level);
    knob_.setTop(knobTopForPercent(percent));
    label2_.setCaption(std::to_string(percent));
}

void ControllerWindow::setVolume(const std::int32_t& setvollevel) {
    mixer_.write(records_, levelForKnobStep(setvollevel));
}

void ControllerWindow::setMute() {
    GetCoreComponents(kMuteTypeText);
    mixer_.write(records_, chkmute_.value() == 1 ? 1u : 0u);
}

void ControllerWindow::chkmuteClick() {
    setMute();
    // Volume operations expect the volume control in the records again.
    GetCoreComponents(kVolumeTypeText);
}

}  // namespace qmx::controller
