#pragma once

#include <string>

#include "platform/message_boxes.h"
#include "platform/shell.h"
#include "system_checks/os_info.h"

namespace qmx::controller {

// The system's own volume control and sound control panel, started in a normal focused window
// without waiting; a start that fails is reported with the system's description of the error.
class SystemPrograms {
public:
    SystemPrograms(platform::Shell& shell, platform::MessageBoxes& messageBoxes,
                   system_checks::OsInfo& os);

    // "SndVol.exe" on NT 6.x, "sndvol32.exe" elsewhere, from the system folder; the version is
    // read afresh each time.
    // A failure message is modal to `owner`, the window whose button started the program.
    // Each answers whether the program started.
    bool openVolumeControl(platform::WindowId owner);
    bool openAudioProperties(platform::WindowId owner);

private:
    bool start(const std::string& commandLine, const char* failureMessage,
               platform::WindowId owner);

    platform::Shell& shell_;
    platform::MessageBoxes& messageBoxes_;
    system_checks::OsInfo& os_;
};

}  // namespace qmx::controller
