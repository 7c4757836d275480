#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/event_log.h"
#include "platform/audio_endpoints.h"

namespace qmx::app {

struct OutputSwitch {
    std::uint32_t result = 0;  // 0, or the system's code of the role's switch that failed
    bool changed = false;      // some role that had another output has this one now
    // After a failure: the roles that have the output now although they had another before,
    // because they could not be put back.
    std::vector<platform::Role> leftSwitched;
};

// Makes `id` the default output for every role that has another one, as the system's sound
// settings do. When one role's switch fails, the roles already switched get their previous
// default back; each role is then read again, and the result says what is true: a switch that
// every role shows is made after all, and the roles that could not be put back are named. The
// log gets each role's outcome with the policy-config pairing that answered.
OutputSwitch makeDefaultForEveryRole(platform::AudioEndpoints& system, const std::string& id,
                                     EventLog& log);

// The role's name as the log and the messages give it: console, multimedia, communications.
const char* roleName(platform::Role role);

}  // namespace qmx::app
