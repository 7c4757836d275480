// The controller's buttons: the system's volume control and audio properties, the close buttons
// and the fade-out.
#include "controller/controller_window.h"
#include "resources/controller_form.h"

namespace qmx::controller {

using namespace resources::controller;

namespace {
constexpr std::int16_t kFadeStep = 3;
}  // namespace

void ControllerWindow::handleClick(int controlId) {
    switch (controlId) {
        case ChkMute:
            chkmute_.clickedByUser();
            break;
        case Image4:
            programs_.openVolumeControl(window());
            break;
        case Image3:
            programs_.openAudioProperties(window());
            break;
        case Image5:
            startFadeOut(true);
            break;
        case Image6:
            if (!windowMoved()) startFadeOut(true);
            break;
        case Knob:
            txtdetect_.setText("0");
            break;
        case Track:
            trackClicked_ = true;
            break;
        default:
            break;
    }
}

void ControllerWindow::handleDoubleClick(int controlId) {
    if (controlId == Image3) {
        unload();
    } else if (controlId == platform::kFormItself) {
        startFadeOut(false);
    }
}

void ControllerWindow::startFadeOut(bool stopFollowingVolume) {
    timer1_.setEnabled(true);
    if (stopFollowingVolume) tmrsyncvol_.setEnabled(false);
}

void ControllerWindow::stopFadeOut() {
    if (!timer1_.enabled()) return;
    timer1_.setEnabled(false);
    tmrsyncvol_.setEnabled(true);
    if (fadeAlpha_ == 255) return;
    fadeAlpha_ = 255;
    styling_.setTransparency(window(), fadeAlpha_);
}

// Opacity 252, 249, ... 3 over 84 ticks; the 85th unloads the window.
void ControllerWindow::fadeStep() {
    fadeAlpha_ = static_cast<std::int16_t>(fadeAlpha_ - kFadeStep);
    if (fadeAlpha_ > 0) {
        styling_.setTransparency(window(), fadeAlpha_);
    } else {
        timer1_.setEnabled(false);
        unload();
    }
}

}  // namespace qmx::controller
