#pragma once

#include <new>

#include "common/app_title.h"
#include "common/runtime_error.h"
#include "platform/message_boxes.h"

namespace qmx {

// Runs `operation`. A run-time failure inside it is shown with its description in a message box
// captioned with the application title and the given icon, owned by `owner`; the program goes on.
template <typename Operation>
void reportingFailures(platform::MessageBoxes& messageBoxes, platform::WindowId owner,
                       unsigned icon, Operation&& operation) {
    try {
        operation();
    } catch (const RuntimeError& failure) {
        messageBoxes.messageBox(owner, failure.what(), kAppTitle, icon);
    } catch (const std::bad_alloc&) {
        messageBoxes.messageBox(owner, "Out of memory", kAppTitle, icon);
    }
}

}  // namespace qmx
