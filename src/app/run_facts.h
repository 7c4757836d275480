#pragma once

#include "common/event_log.h"
#include "mixer/mixer_access.h"
#include "platform/platform.h"

namespace qmx::app {

// The run's first lines in the log: the program's version and process, the Windows version and
// build, the resolution of `host`, the audio path and the device in use.
void writeRunFacts(EventLog& log, platform::Platform& platform, mixer::MixerAccess& mixer,
                   platform::WindowId host);

}  // namespace qmx::app
