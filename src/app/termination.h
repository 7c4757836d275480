#pragma once

#include "app/tray_icon.h"
#include "common/program_end.h"
#include "platform/audio_endpoints.h"
#include "platform/processes.h"

namespace qmx::app {

// Ends the program: takes the tray icon away, stops the watch of the audio outputs (`outputs`,
// where there are any), then ends the process.
class Termination : public ProgramEnd {
public:
    Termination(platform::WindowSystem& windows, platform::Processes& processes, TrayIcon& tray,
                platform::AudioEndpoints* outputs);

    [[noreturn]] void fatal(std::string_view text, unsigned messageBoxFlags) override;
    [[noreturn]] void end(std::uint32_t exitCode) override;

private:
    platform::WindowSystem& windows_;
    platform::Processes& processes_;
    TrayIcon& tray_;
    platform::AudioEndpoints* outputs_;
    bool reporting_ = false;
};

}  // namespace qmx::app
