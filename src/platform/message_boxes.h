#pragma once

#include <string_view>

#include "platform/window_events.h"

namespace qmx::platform {

// The system's message boxes.
class MessageBoxes {
public:
    MessageBoxes() = default;
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;
    virtual ~MessageBoxes() = default;

    // Shows a message box, modal to `owner` (kNoWindow: owned by no window); returns the button
    // pressed.
    virtual int messageBox(WindowId owner, std::string_view text, std::string_view caption,
                           unsigned flags) = 0;
};

}  // namespace qmx::platform
