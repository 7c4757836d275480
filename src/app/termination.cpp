#include "app/termination.h"

#include <cstdlib>

#include "common/app_title.h"
#include "common/runtime_error.h"

namespace qmx::app {

Termination::Termination(platform::WindowSystem& windows, platform::Processes& processes,
                         TrayIcon& tray, platform::AudioEndpoints* outputs)
    : windows_(windows), processes_(processes), tray_(tray), outputs_(outputs) {}

void Termination::fatal(std::string_view text, unsigned messageBoxFlags) {
    // The message box's own message loop keeps delivering timer events; an event that fails
    // again meanwhile is dropped instead of stacking a second message.
    if (reporting_) throw EventAbandoned{};
    reporting_ = true;
    windows_.messageBox(platform::kNoWindow, text, kAppTitle, messageBoxFlags);
    end(0);
    std::abort();
}

// Ending the process cuts every other thread short wherever it is, then runs each DLL's detach
// code, which hangs on a lock a cut thread held (Microsoft, "ExitProcess function", Remarks); the
// safe way is to stop the work of the other threads first (Raymond Chen, "Quick overview of how
// processes exit on Windows XP", The Old New Thing, 2007). The audio service calls the device
// watch on a thread of its own in this process: unregistered, it starts no call into an ending
// process.
void Termination::end(std::uint32_t exitCode) {
    tray_.remove();
    if (outputs_) outputs_->watchChanges(nullptr);
    processes_.exitProcess(exitCode);
    std::abort();  // the process service never returns from ending the process
}

}  // namespace qmx::app
