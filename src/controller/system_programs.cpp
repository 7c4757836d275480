#include "controller/system_programs.h"

#include "common/app_title.h"
#include "common/program_end.h"

namespace qmx::controller {

namespace {
constexpr const char* kVolumeControlFailed = "Unable to open Windows Volume Control ";
constexpr const char* kAudioPropertiesFailed = "Unable to open Audio properties. ";
constexpr const char* kAudioPropertiesArguments = " shell32.dll,Control_RunDLL mmsys.cpl";

// A program of the system folder, by its full path in quotes: never one found first in the
// program's or the current folder, and never a longer path read from the start of a path with
// spaces.
std::string systemProgram(const std::string& sysDir, const char* file) {
    return "\"" + sysDir + "\\" + file + "\"";
}
}  // namespace

SystemPrograms::SystemPrograms(platform::Shell& shell, platform::MessageBoxes& messageBoxes,
                               system_checks::OsInfo& os)
    : shell_(shell), messageBoxes_(messageBoxes), os_(os) {}

bool SystemPrograms::openVolumeControl(platform::WindowId owner) {
    os_.GetOSVersion();
    const bool vistaFamily = os_.osMajor == 6 && os_.osPlatform == system_checks::kPlatformNt;
    return start(systemProgram(os_.sysDir, vistaFamily ? "SndVol.exe" : "sndvol32.exe"),
                 kVolumeControlFailed, owner);
}

bool SystemPrograms::openAudioProperties(platform::WindowId owner) {
    return start(systemProgram(os_.sysDir, "rundll32.exe") + kAudioPropertiesArguments,
                 kAudioPropertiesFailed, owner);
}

bool SystemPrograms::start(const std::string& commandLine, const char* failureMessage,
                           platform::WindowId owner) {
    // The system folder as the current one: a program looking for its DLLs there finds none that
    // a user put beside this program or in the folder it was started from.
    const std::uint32_t error = shell_.startProgram(commandLine, os_.sysDir);
    if (error != 0) {
        messageBoxes_.messageBox(owner, failureMessage + shell_.errorDescription(error), kAppTitle,
                                 kMbIconExclamation);
    }
    return error == 0;
}

}  // namespace qmx::controller
