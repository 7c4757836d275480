#pragma once

#include "app/tray_icon.h"
#include "common/event_log.h"
#include "common/program_end.h"
#include "platform/audio_endpoints.h"
#include "platform/message_boxes.h"
#include "platform/processes.h"

namespace qmx::app {

// The exit code of the end after the message `message`: one of its own for each (README).
std::uint32_t fatalExitCode(std::string_view message);

// Ends the program: takes the tray icon away, stops the watch of the audio outputs (`outputs`,
// where there are any), writes how it ended to the log, then ends the process.
class Termination : public ProgramEnd {
public:
    Termination(platform::MessageBoxes& messageBoxes, platform::Processes& processes,
                TrayIcon& tray, EventLog& log, platform::AudioEndpoints* outputs);

    [[noreturn]] void fatal(std::string_view text, unsigned messageBoxFlags) override;
    [[noreturn]] void end(std::uint32_t exitCode, EndCause cause) override;

private:
    platform::MessageBoxes& messageBoxes_;
    platform::Processes& processes_;
    TrayIcon& tray_;
    EventLog& log_;
    platform::AudioEndpoints* outputs_;
    bool reporting_ = false;
};

}  // namespace qmx::app
