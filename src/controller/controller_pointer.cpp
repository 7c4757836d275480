// The controller's pointer handling: moving the window by its background, dragging the knob,
// the track's click-then-move jump, the window-moved flag and the close button's hover picture.
#include "common/rounding.h"
#include "controller/controller_window.h"
#include "controller/display_model.h"
#include "resources/controller_form.h"

namespace qmx::controller {

using namespace resources::controller;
using platform::PictureId;

void ControllerWindow::handlePointerDown(int controlId, int, float, float y) {
    if (controlId == Knob) {
        knobGrabY_ = static_cast<std::int32_t>(roundHalfEven(y));
        knobDragging_ = true;
        dragDevice_ = mixer_.deviceSerial();
    }
}

void ControllerWindow::handlePointerMove(int controlId, int buttons, float x, float y) {
    switch (controlId) {
        case platform::kFormItself:
            backgroundMove(buttons, x, y);
            break;
        case Knob:
            // A drag belongs to the device it started on: when the system switches to another
            // output, the knob's old place must not be written to the new one.
            if (knobDragging_ && mixer_.deviceSerial() != dragDevice_) endPointerGesture(Knob);
            if (knobDragging_) knobMove(y);
            break;
        case Track:
            if (trackClicked_) trackMove(y);
            trackClicked_ = false;
            break;
        case Image6:
            image6_.setPicture(PictureId::VistaCloseHighlighted);
            break;
        case ChkMute:
            image6_.setPicture(PictureId::VistaClose);
            break;
        default:
            break;
    }
}

void ControllerWindow::handlePointerUp(int controlId, int, float, float) {
    endPointerGesture(controlId);
}

// A drag or window move that loses the pointer to another window ends as at a release.
void ControllerWindow::handlePointerCaptureLost(int controlId) {
    endPointerGesture(controlId);
}

void ControllerWindow::endPointerGesture(int controlId) {
    switch (controlId) {
        case platform::kFormItself:
            tmrDragHandler_.setEnabled(true);
            break;
        case Knob:
            knobDragging_ = false;
            break;
        case Track:
            trackClicked_ = false;
            break;
        default:
            break;
    }
}

void ControllerWindow::backgroundMove(int buttons, float x, float y) {
    if (buttons == 0) {
        formGrabX_ = x;
        formGrabY_ = y;
    } else if (buttons == platform::kLeftButton) {
        // The window follows the pointer, which stays on the spot it grabbed. No bounds.
        float left = 0;
        float top = 0;
        placement().windowPosition(window(), left, top);
        placement().moveWindow(window(), left + x - formGrabX_, top + y - formGrabY_);
        txtdetect_.setText("1");
    }
    image6_.setPicture(PictureId::VistaClose);
}

void ControllerWindow::knobMove(float y) {
    float top = knob_.top() - static_cast<float>(knobGrabY_ - y);
    if (top <= kKnobTopOfTravel) {
        top = kKnobTopOfTravel;
        knobDragging_ = false;
    }
    if (top > kKnobLowestDragTop) {
        top = kKnobLowestDragTop;
        knobDragging_ = false;
    }
    moveKnobTo(top);
}

void ControllerWindow::trackMove(float y) {
    // The knob's top lands 345 twips above the pointer (the track starts 495 twips down).
    float top = y + 150;
    if (top < kKnobTopOfTravel) top = kKnobTopOfTravel;
    if (top > kKnobLowestDragTop) top = kKnobLowestDragTop;
    moveKnobTo(top);
}

// The knob goes where the pointer put it, the level for that place is written, and the read
// back snaps the knob onto its grid.
void ControllerWindow::moveKnobTo(float top) {
    knob_.setTop(top);
    const std::int32_t step = knobStepForTop(top);
    setVolume(step);
    GetVolume();
}

bool ControllerWindow::windowMoved() {
    return textToInt32(txtdetect_.text()) == 1;
}

void ControllerWindow::dragHandlerTick() {
    if (windowMoved()) {
        txtdetect_.setText("0");
        tmrDragHandler_.setEnabled(false);
    }
}

}  // namespace qmx::controller
