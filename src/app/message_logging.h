#pragma once

#include "common/event_log.h"
#include "platform/message_boxes.h"

namespace qmx::app {

// The platform's message boxes, with every one the program shows written to the log as it
// appears: the one place all of them pass.
class MessageLogging : public platform::MessageBoxes {
public:
    MessageLogging(platform::MessageBoxes& messageBoxes, EventLog& log)
        : messageBoxes_(messageBoxes), log_(log) {}

    int messageBox(platform::WindowId owner, std::string_view text, std::string_view caption,
                   unsigned flags) override;

private:
    platform::MessageBoxes& messageBoxes_;
    EventLog& log_;
};

}  // namespace qmx::app
