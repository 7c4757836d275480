#include "app/termination.h"

#include <cstdlib>

#include "common/app_title.h"
#include "common/runtime_error.h"

namespace qmx::app {

Termination::Termination(platform::MessageBoxes& messageBoxes, platform::Processes& processes,
                         TrayIcon& tray)
    : messageBoxes_(messageBoxes), processes_(processes), tray_(tray) {}

void Termination::fatal(std::string_view text, unsigned messageBoxFlags) {
    // The message box's own message loop keeps delivering timer events; an event that fails
    // again meanwhile is dropped instead of stacking a second message.
    if (reporting_) throw EventAbandoned{};
    reporting_ = true;
    messageBoxes_.messageBox(platform::kNoWindow, text, kAppTitle, messageBoxFlags);
    end(0);
    std::abort();
}

void Termination::end(std::uint32_t exitCode) {
    tray_.remove();
    processes_.exitProcess(exitCode);
    std::abort();  // the process service never returns from ending the process
}

}  // namespace qmx::app
