#pragma once

#include <map>
#include <string>

#include "common/event_log.h"
#include "platform/audio_endpoints.h"

namespace qmx::mixer {

// Writes the changes of the system's outputs to the log: the default output that values act on,
// and outputs added or removed. Only called on a change, never on a poll that changes nothing.
class OutputChangeLog {
public:
    OutputChangeLog(EventLog& log, platform::AudioEndpoints& endpoints)
        : log_(log), endpoints_(endpoints) {}

    // The default output reached; a line when it is another one than last time.
    void defaultIs(const std::string& id, const std::string& name);
    void noDefault();
    void renamed(const std::string& id, const std::string& name);
    // The system reported a change: the outputs added and removed since the last report. The
    // first report after the log starts only learns the list.
    void devicesChanged();

private:
    EventLog& log_;
    platform::AudioEndpoints& endpoints_;
    std::string default_;  // empty: none
    std::map<std::string, std::string> active_;
    bool activeKnown_ = false;
};

}  // namespace qmx::mixer
