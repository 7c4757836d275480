#include "app/termination.h"

#include <cstdlib>
#include <string>

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "mixer/mixer_messages.h"
#include "system_checks/os_info.h"

namespace qmx::app {

namespace {
const char* endingOf(EndCause cause) {
    switch (cause) {
        case EndCause::CloseCommand:
            return "Ended by the menu's Close";
        case EndCause::CloseRequest:
            return "Ended by a request to close its window";
        case EndCause::SessionEnd:
            return "Ended with the Windows session";
        case EndCause::SecondCopy:
            return "Ended itself: another copy runs from its folder";
        case EndCause::FatalMessage:
            return "Ended after its message";
    }
    return "Ended";
}

// A script or launcher that started the program reads why it ended after a message from its exit
// code. None is 0, the menu's Close, nor a multiple of four, as Windows' process identifiers (the
// code a second copy ends with) are in practice, though nothing promises it (Raymond Chen, "Why
// are process and thread IDs multiples of four?").
struct FatalExit {
    const char* message;
    std::uint32_t exitCode;
};
constexpr FatalExit kFatalExits[] = {
    {mixer::kOpenFailed, 1},
    {mixer::kLineInfoFailed, 2},
    {mixer::kLineControlsFailed, 3},
    {mixer::kVolumeReadFailed, 5},
    {mixer::kMuteReadFailed, 6},
    {mixer::kWriteFailed, 7},
    {system_checks::kUnsupportedSystem, 9},
};
constexpr std::uint32_t kOtherFatalExit = 10;
}  // namespace

std::uint32_t fatalExitCode(std::string_view message) {
    for (const auto& [text, code] : kFatalExits) {
        if (message == text) return code;
    }
    return kOtherFatalExit;
}

Termination::Termination(platform::MessageBoxes& messageBoxes, platform::Processes& processes,
                         TrayIcon& tray, EventLog& log, platform::AudioEndpoints* outputs)
    : messageBoxes_(messageBoxes),
      processes_(processes),
      tray_(tray),
      log_(log),
      outputs_(outputs) {}

void Termination::fatal(std::string_view text, unsigned messageBoxFlags) {
    // The message box's own message loop keeps delivering timer events; an event that fails
    // again meanwhile is dropped instead of stacking a second message.
    if (reporting_) throw EventAbandoned{};
    reporting_ = true;
    messageBoxes_.messageBox(platform::kNoWindow, text, kAppTitle, messageBoxFlags);
    end(fatalExitCode(text), EndCause::FatalMessage);
    std::abort();
}

// The icon goes first, so the user sees the program end as soon as before. Ending the process
// cuts every other thread short wherever it is, then runs each DLL's detach code, which hangs on a
// lock a cut thread held (Microsoft, "ExitProcess function", Remarks); the safe way is to stop the
// work of the other threads first (Raymond Chen, "Quick overview of how processes exit on Windows
// XP", The Old New Thing, 2007). The audio service calls the device watch on a thread of its own
// in this process: unregistered, it starts no call into an ending process.
void Termination::end(std::uint32_t exitCode, EndCause cause) {
    tray_.remove();
    if (outputs_) outputs_->watchChanges(nullptr);
    if (log_.started()) {
        log_.write(std::string(endingOf(cause)) + ", exit code " + std::to_string(exitCode));
    }
    processes_.exitProcess(exitCode);
    std::abort();  // the process service never returns from ending the process
}

}  // namespace qmx::app
