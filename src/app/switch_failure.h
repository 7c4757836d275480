#pragma once

#include <string>

#include "app/output_switch.h"
#include "platform/shell.h"

namespace qmx::app {

// What the user reads when a switch of the playback device failed: the reason in words (the
// system has none for the audio codes), and the roles the chosen output stays the default for.
std::string switchFailureMessage(const OutputSwitch& done, platform::Shell& shell);

}  // namespace qmx::app
