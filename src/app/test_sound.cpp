#include "app/test_sound.h"

#include "common/app_title.h"
#include "common/paths.h"
#include "common/program_end.h"
#include "common/runtime_error.h"

namespace qmx::app {

namespace {
constexpr const char* kMissingSound =
    "The .wav file referred by the Velto Volume Controller is missing. Please reinstall the "
    "program to install the sound file. ";
}  // namespace

void MultimediaControl::Command(const std::string& command) {
    std::uint32_t rc = 0;
    if (command == "open") {
        if (open_) throw RuntimeError("The device is already open.");
        std::uint32_t device = 0;
        rc = sound_.open(DeviceType, FileName, device);
        if (rc == 0) {
            deviceId_ = device;
            open_ = true;
        }
    } else if (command == "Play" || command == "stop" || command == "close") {
        if (!open_) throw RuntimeError("The device is not open.");
        if (command == "Play") {
            rc = sound_.play(deviceId_, notifyWindow);
        } else if (command == "stop") {
            rc = sound_.stop(deviceId_);
        } else {
            rc = sound_.close(deviceId_);
            open_ = false;
        }
    } else {
        throw RuntimeError("Invalid command.");
    }
    if (rc != 0) throw RuntimeError(sound_.errorText(rc));
}

TestSound::TestSound(MultimediaControl& control, platform::MessageBoxes& messageBoxes,
                     platform::Processes& processes)
    : mmc1_(control), messageBoxes_(messageBoxes), processes_(processes) {}

// A failing step is reported and the next one runs: a missing file shows the message for the
// open and again for the play. A play that fails leaves no device open.
void TestSound::play() {
    if (mmc1_.isOpen()) stopAndClose();
    mmc1_.DeviceType = "WaveAudio";
    mmc1_.FileName = folderOf(processes_.ownExecutablePath()) + "\\" + "POURING.WAV";
    for (const char* command : {"open", "Play"}) {
        try {
            mmc1_.Command(command);
            if (std::string(command) == "Play") ++unnotifiedPlays_;
        } catch (const RuntimeError&) {
            messageBoxes_.messageBox(platform::kNoWindow, kMissingSound, kAppTitle,
                                     kMbIconExclamation);
            if (std::string(command) == "Play" && mmc1_.isOpen()) stopAndClose();
        }
    }
}

void TestSound::done(int, std::uint32_t deviceId) {
    if (unnotifiedPlays_ > 0) --unnotifiedPlays_;
    // A late notice of an earlier sound, whatever its device's number.
    if (unnotifiedPlays_ > 0) return;
    if (!mmc1_.isOpen() || deviceId != mmc1_.deviceId()) return;  // closed already
    stopAndClose();
    mmc1_.FileName = "";
}

void TestSound::stopAndClose() {
    for (const char* command : {"stop", "close"}) {
        try {
            mmc1_.Command(command);
        } catch (const RuntimeError&) {
        }
    }
}

}  // namespace qmx::app
