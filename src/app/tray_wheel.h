#pragma once

#include "app/tray_icon.h"
#include "mixer/mixer_access.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "ui/wheel_steps.h"

namespace qmx::app {

// The wheel over the tray icon. The notification area sends no wheel to its icons: once the
// pointer is on the icon, the tray host watches the pointer and the wheel until the pointer
// leaves the icon's place, and each notch there moves the master volume.
class TrayWheel {
public:
    TrayWheel(platform::Shell& shell, platform::Input& input, TrayIcon& tray,
              mixer::MixerAccess& mixer);

    // The shell saw the pointer on the icon: the host window starts watching.
    void pointerOverIcon(platform::WindowId host);
    // A report of the watch: where the pointer is and how far the wheel turned.
    void pointerWatched(platform::WindowId host, int x, int y, int wheelDelta);
    // Whether a notch with the pointer at (x, y) is this watch's to count.
    bool takes(int x, int y) const { return watching_ && onIcon(x, y); }

private:
    bool onIcon(int x, int y) const;
    void stopWatching(platform::WindowId host);
    void changeVolumeBy(int percent);

    platform::Shell& shell_;
    platform::Input& input_;
    TrayIcon& tray_;
    mixer::MixerAccess& mixer_;
    bool watching_ = false;
    bool stillOn_ = false;  // ending the watch failed: it is ended again at the next report
    platform::Rect iconRect_;
    ui::WheelSteps steps_;
    mixer::MixerRecords volumeRecords_;
};

}  // namespace qmx::app
