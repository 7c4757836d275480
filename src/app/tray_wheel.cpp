#include "app/tray_wheel.h"

#include "controller/display_model.h"
#include "mixer/mixer_messages.h"

namespace qmx::app {

TrayWheel::TrayWheel(platform::Shell& shell, platform::Input& input, TrayIcon& tray,
                     mixer::MixerAccess& mixer)
    : shell_(shell), input_(input), tray_(tray), mixer_(mixer) {}

// Where the shell cannot tell the icon's place, the wheel over the icon does nothing.
void TrayWheel::pointerOverIcon(platform::WindowId host) {
    if (watching_) return;
    if (!shell_.trayIconRect(tray_.data(), iconRect_)) return;
    steps_.reset();
    watching_ = input_.watchPointer(host, true);
    if (watching_) stillOn_ = false;
}

bool TrayWheel::onIcon(int x, int y) const {
    return x >= iconRect_.left && x < iconRect_.right && y >= iconRect_.top && y < iconRect_.bottom;
}

void TrayWheel::stopWatching(platform::WindowId host) {
    watching_ = false;
    stillOn_ = !input_.watchPointer(host, false);
}

void TrayWheel::pointerWatched(platform::WindowId host, int x, int y, int wheelDelta) {
    if (!watching_) {
        // A watch whose end failed still reports the pointer everywhere: end it again.
        if (stillOn_) stopWatching(host);
        return;
    }
    if (!onIcon(x, y)) {
        stopWatching(host);
        return;
    }
    const int steps = steps_.add(wheelDelta);
    if (steps != 0) changeVolumeBy(steps);
}

// The master volume up or down by whole percent; an open controller follows at its next tick.
void TrayWheel::changeVolumeBy(int percent) {
    mixer_.discover(volumeRecords_, platform::kControlTypeVolume);
    const std::uint32_t level = mixer_.read(volumeRecords_, mixer::kVolumeReadFailed);
    const std::int32_t now = controller::volumePercent(level);
    const std::int32_t wanted = controller::percentChangedBy(now, percent);
    if (wanted != now) mixer_.write(volumeRecords_, controller::levelForKnobStep(100 - wanted));
}

}  // namespace qmx::app
