#pragma once

#include <cstdint>
#include <string>

#include "platform/audio_endpoints.h"

namespace qmx::app {

struct OutputSwitch {
    std::uint32_t result = 0;  // 0, or the system's code of the role's switch that failed
    bool changed = false;      // some role has the output as its default now
};

// Makes `id` the default output for every role that has another one, as the system's sound
// settings do. When one role's switch fails, the roles already switched get their previous
// default back, so that a failure changes nothing.
OutputSwitch makeDefaultForEveryRole(platform::AudioEndpoints& system, const std::string& id);

}  // namespace qmx::app
