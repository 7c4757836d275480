#pragma once

#include <map>
#include <optional>
#include <string>

#include "common/event_log.h"
#include "platform/audio_endpoints.h"

namespace qmx::mixer {

// Writes the changes of the system's outputs to the log: the default output that values act on,
// and outputs added, removed or renamed, each once. Only called on a change, never on a poll that
// changes nothing. The first default reported, or none, only learns what the run's facts already
// told; names are written as the menu shows them.
class OutputChangeLog {
public:
    OutputChangeLog(EventLog& log, platform::AudioEndpoints& endpoints)
        : log_(log), endpoints_(endpoints) {}

    // The default output reached; a line when it is another one than last time.
    void defaultIs(const std::string& id, const std::string& name);
    void noDefault();
    // The output in use has this name now; a line unless the list told it already.
    void renamed(const std::string& id, const std::string& name);
    // The system reported a change: the outputs added, removed and renamed since the last report.
    // The first report after the log starts only learns the list.
    void devicesChanged();

private:
    void listBeforeADefault();

    EventLog& log_;
    platform::AudioEndpoints& endpoints_;
    std::optional<std::string> default_;  // unknown until first reported; empty: none
    std::map<std::string, std::string> active_;
    bool activeKnown_ = false;
};

}  // namespace qmx::mixer
