#include "controller/controller_window.h"

#include "common/failure_report.h"
#include "common/rounding.h"
#include "common/runtime_error.h"
#include "controller/display_model.h"
#include "mixer/mixer_messages.h"
#include "resources/controller_form.h"
#include "ui/layout.h"

namespace qmx::controller {

namespace {
constexpr const char* kVolumeTypeText = "1342373889";
constexpr const char* kMuteTypeText = "536936450";
// The rounded corners' ellipse: 7 pixels at 96 DPI, growing with the resolution as the skin's
// own rounded frame does, so that no corner of the picture shows outside the frame. The frame's
// own corner is 9 pixels across: above 200 % a pixel is small enough for the gap between the two
// curves to show the window's white as specks beside the frame, and the corners follow the frame.
constexpr double kCornerEllipseTwips = 7 * 15;
constexpr double kFrameCornerTwips = 9 * 15;
constexpr int kLargestEllipseFollowingDpi = 192;

int cornerEllipseAt(int dpi) {
    return ui::pixelsAt(dpi > kLargestEllipseFollowingDpi ? kFrameCornerTwips : kCornerEllipseTwips,
                        dpi);
}
// The home position lies 150 and 190 pixels (at 96 DPI) left of and above the work area's
// bottom-right corner. The offsets grow with the resolution as the window does, so that a
// window scaled up for a higher DPI still ends above the work area's bottom edge.
constexpr double kHomeOffsetXTwips = 150 * 15;
constexpr double kHomeOffsetYTwips = 190 * 15;
constexpr std::uint32_t kMuteBoxColor = 0x5E3820;  // RGB(32, 56, 94)
constexpr float kMuteBoxTopVista = 2220;
constexpr float kMuteBoxTopClassic = 2250;

}  // namespace

using namespace resources::controller;
using platform::PictureId;

ControllerWindow::ControllerWindow(const ui::WindowServices& services,
                                   platform::MessageBoxes& messageBoxes, SystemPrograms& programs,
                                   mixer::MixerAccess& mixer, settings::SettingsStore& settings,
                                   WindowStyling& styling, ui::TextBox& txtform1signal)
    : ui::Form(services, resources::controllerForm()),
      messageBoxes_(messageBoxes),
      programs_(programs),
      mixer_(mixer),
      settings_(settings),
      styling_(styling),
      txtform1signal_(txtform1signal),
      image4_(*this, Image4),
      image3_(*this, Image3),
      label2_(*this, Label2),
      knob_(*this, Knob),
      track_(*this, Track),
      chkmute_(*this, ChkMute, [this] { chkmuteClick(); }),
      image6_(*this, Image6),
      image5_(*this, Image5),
      txtdetect_(*this, TxtDetect, "0"),
      tmrDragHandler_(*this, TmrDragHandler, kDragHandlerIntervalMs, [this] { dragHandlerTick(); }),
      timer1_(*this, Timer1, kFadeIntervalMs, [this] { fadeStep(); }),
      tmrsyncvol_(*this, TmrSyncVol, kSyncVolIntervalMs, [this] { GetVolume(); }) {}

// A failing set-up step is reported with its description and set-up goes on with the next.
void ControllerWindow::handleLoad() {
    auto setUpStep = [this](auto&& step) {
        reportingFailures(messageBoxes_, window(), kMbIconExclamation, step);
    };
    setUpStep([&] { shapeWindow(); });
    setUpStep([&] { setPicture(PictureId::VistaSkin); });
    setUpStep([&] { knob_.setPicture(PictureId::Knob); });
    setUpStep([&] { shapeKnob(); });
    setUpStep([&] { txtform1signal_.setText("1"); });
    setUpStep([&] { GetCoreComponents(kVolumeTypeText); });
    setUpStep([&] { GetVolume(); });
    setUpStep([&] {
        styling_.GetWorkAreaRight(workRight_);
        styling_.GetWorkAreaBottom(workBottom_);
    });
    setUpStep([&] {
        const int dpi = forms().windowDpi(window());
        const int offsetX = ui::pixelsAt(kHomeOffsetXTwips, dpi);
        const int offsetY = ui::pixelsAt(kHomeOffsetYTwips, dpi);
        placement().setWindowPos(window(), platform::ZOrder::NoTopMost, workRight_ - offsetX,
                                 workBottom_ - offsetY, 0, 0,
                                 platform::kSwpNoSize | platform::kSwpShowWindow);
    });
    setUpStep([&] { forms().setControlBackColor(window(), ChkMute, kMuteBoxColor); });
    setUpStep([&] {
        trackClicked_ = false;
        fadeAlpha_ = 255;
    });
    setUpStep([&] {
        if (settings_.GetShadowStat() == 1) styling_.setClassShadow(window());
    });
    setUpStep([&] {
        const bool onTop = settings_.GetOnTopStat() == 1;
        placement().setWindowPos(
            window(), onTop ? platform::ZOrder::TopMost : platform::ZOrder::NoTopMost, 0, 0, 0, 0,
            platform::kSwpNoMove | platform::kSwpNoSize | platform::kSwpShowWindow);
    });
}

// The window and the knob are cut to rounded rectangles of their size in pixels, which changes
// with the resolution of the monitor the controller stands on.
void ControllerWindow::shapeWindow() {
    const int dpi = forms().windowDpi(window());
    const ui::PixelRect client = ui::clientRectAt(definition(), dpi);
    const int ellipse = cornerEllipseAt(dpi);
    placement().setRoundRectRegion(window(), platform::kFormItself, 0, 0, client.width,
                                   client.height, ellipse, ellipse);
}

void ControllerWindow::shapeKnob() {
    const int dpi = forms().windowDpi(window());
    const ui::PixelRect knob = ui::controlRectAt(*definition().control(Knob), dpi);
    const int ellipse = cornerEllipseAt(dpi);
    placement().setRoundRectRegion(window(), Knob, 0, 0, knob.width, knob.height, ellipse, ellipse);
}

void ControllerWindow::handleDpiChanged(int) {
    reportingFailures(messageBoxes_, window(), kMbIconExclamation, [this] { shapeWindow(); });
    reportingFailures(messageBoxes_, window(), kMbIconExclamation, [this] { shapeKnob(); });
}

void ControllerWindow::handleUnload() {
    txtform1signal_.setText("0");
    wheel_.reset();
    announcedPercent_ = -1;
    trackClicked_ = false;
    knobDragging_ = false;
    knobGrabY_ = 0;
    formGrabX_ = formGrabY_ = 0;
}

void ControllerWindow::applySkin(bool vista) {
    setPicture(vista ? PictureId::VistaSkin : PictureId::ClassicSkin);
    image5_.setVisible(!vista);
    chkmute_.setTop(vista ? kMuteBoxTopVista : kMuteBoxTopClassic);
    image6_.setVisible(vista);
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
    if (percent != announcedPercent_) {
        announcedPercent_ = percent;
        forms().announceSlider(window(), Knob, "Volume", label2_.caption());
    }
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
