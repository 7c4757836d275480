#pragma once

#include "app/tray_icon.h"
#include "common/program_end.h"
#include "platform/message_boxes.h"
#include "platform/processes.h"

namespace qmx::app {

// Ends the program: takes the tray icon away, then ends the process.
class Termination : public ProgramEnd {
public:
    Termination(platform::MessageBoxes& messageBoxes, platform::Processes& processes,
                TrayIcon& tray);

    [[noreturn]] void fatal(std::string_view text, unsigned messageBoxFlags) override;
    [[noreturn]] void end(std::uint32_t exitCode) override;

private:
    platform::MessageBoxes& messageBoxes_;
    platform::Processes& processes_;
    TrayIcon& tray_;
    bool reporting_ = false;
};

}  // namespace qmx::app
