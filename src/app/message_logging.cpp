#include "app/message_logging.h"

#include <string>

namespace qmx::app {

// Written before the box shows: a message that ends the program keeps its line even when the
// user ends the process instead of pressing OK.
int MessageLogging::messageBox(platform::WindowId owner, std::string_view text,
                               std::string_view caption, unsigned flags) {
    if (log_.started()) log_.write("Message shown: " + std::string(text));
    return messageBoxes_.messageBox(owner, text, caption, flags);
}

}  // namespace qmx::app
