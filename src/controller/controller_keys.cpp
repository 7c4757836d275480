// The controller's keys and wheel: both move the volume along the same path as a knob drag, so
// the knob lands on its grid, the label follows and the limits hold.
#include "controller/controller_window.h"
#include "controller/display_model.h"
#include "resources/controller_form.h"

namespace qmx::controller {

using platform::Key;

// The volume keys repeat while held; a held mute key switches the box once.
void ControllerWindow::handleKey(Key key, bool repeated) {
    switch (key) {
        case Key::Up:
        case Key::Right:
            changeVolumeBy(1);
            break;
        case Key::Down:
        case Key::Left:
            changeVolumeBy(-1);
            break;
        case Key::PageUp:
            changeVolumeBy(10);
            break;
        case Key::PageDown:
            changeVolumeBy(-10);
            break;
        case Key::Home:
            changeVolumeBy(100);
            break;
        case Key::End:
            changeVolumeBy(-100);
            break;
        case Key::Space:
        case Key::M:
            if (!repeated) chkmute_.clickedByUser();
            break;
        case Key::Escape:
            startFadeOut(true);
            if (closedWithEscape_) closedWithEscape_();
            break;
        case Key::Other:
            break;
    }
}

// The wheel reaches the focused controller wherever the pointer is; a notch the tray icon takes
// (the pointer on it) is not counted twice.
void ControllerWindow::handleWheel(int delta, int x, int y) {
    if (wheelTakenAt_ && wheelTakenAt_(x, y)) return;
    const int steps = wheel_.add(delta);
    if (steps != 0) changeVolumeBy(steps);
}

// Volume percent up (positive) or down by `percent`, from where the knob shows it now.
void ControllerWindow::changeVolumeBy(int percent) {
    const std::int32_t now = 100 - knobStepForTop(knob_.top());
    const std::int32_t wanted = percentChangedBy(now, percent);
    if (wanted != now) moveKnobTo(knobTopForPercent(wanted));
}

}  // namespace qmx::controller
