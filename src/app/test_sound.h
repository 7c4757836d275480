#pragma once

#include <cstdint>
#include <string>

#include "platform/message_boxes.h"
#include "platform/processes.h"
#include "platform/sound.h"

namespace qmx::app {

// The tray host's multimedia control: a device type, a file name, and commands ("open",
// "Play", "stop", "close") that act at once. A command that fails raises a run-time failure
// with the device's description.
class MultimediaControl {
public:
    explicit MultimediaControl(platform::Sound& sound) : sound_(sound) {}

    std::string DeviceType;
    std::string FileName;
    platform::WindowId notifyWindow = platform::kNoWindow;  // hears the end of playback
    void Command(const std::string& command);
    bool isOpen() const { return open_; }
    std::uint32_t deviceId() const { return deviceId_; }

private:
    platform::Sound& sound_;
    std::uint32_t deviceId_ = 0;
    bool open_ = false;
};

// "Test Sound": plays POURING.WAV from the program's folder, and closes the device when the
// playback has ended. A new Test Sound during the sound stops and closes the playing one first.
class TestSound {
public:
    TestSound(MultimediaControl& control, platform::MessageBoxes& messageBoxes,
              platform::Processes& processes);

    void play();
    // The device's notification that the played command has ended.
    void done(int notifyCode, std::uint32_t deviceId);

private:
    void stopAndClose();

    MultimediaControl& mmc1_;
    platform::MessageBoxes& messageBoxes_;
    platform::Processes& processes_;
    // Plays whose end has not been notified yet. Every play that starts is notified exactly once
    // (at its end, or when stopped), in order; the system gives a new sound the number of the
    // one it closed, so only the count tells a late notice from the playing sound's own.
    int unnotifiedPlays_ = 0;
};

}  // namespace qmx::app
