#pragma once

#include <memory>

#include "platform/mixer.h"

namespace qmx::win32 {

// Mixer device 0 of this system. Before Windows Vista that is the legacy mixer itself; since
// Vista the legacy mixer only changes the calling program's own audio session, so device 0 is
// the default playback endpoint of the Core Audio API, with the same line and two controls.
std::unique_ptr<platform::Mixer> makeMixer(unsigned osMajorVersion);

}  // namespace qmx::win32
