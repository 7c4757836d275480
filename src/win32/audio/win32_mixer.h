#pragma once

#include <memory>

#include "platform/mixer.h"

namespace qmx::win32 {

// The legacy mixer (winmm): the system's master volume before Windows Vista. Since Vista it
// only changes the calling program's own audio session; there the program's mixer is the
// default output of the Core Audio device list (mixer::EndpointMixer over Win32AudioEndpoints).
std::unique_ptr<platform::Mixer> makeLegacyMixer();

}  // namespace qmx::win32
