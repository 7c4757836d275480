#include "mixer/output_change_log.h"

#include <vector>

#include "common/device_name.h"
#include "resources/tray_menu.h"

namespace qmx::mixer {

namespace {
std::string named(const std::string& id, const std::string& name) {
    if (showsNothing(name)) return id + " " + resources::tray_menu::kUnnamedOutputCaption;
    return id + " (" + printableName(name) + ")";
}
}  // namespace

// The system's notice of an output that came or went can reach the program after the poll that
// met the default it took or gave: the list is read first, so that the output is told before
// that default (the notice, when it comes, finds nothing new).
void OutputChangeLog::listBeforeADefault() {
    if (activeKnown_) devicesChanged();
}

void OutputChangeLog::defaultIs(const std::string& id, const std::string& name) {
    if (default_ == id) return;
    const bool known = default_.has_value();
    if (known) listBeforeADefault();
    default_ = id;
    if (known) log_.write("Default output changed to " + named(id, name));
}

void OutputChangeLog::noDefault() {
    if (default_ == "") return;
    const bool known = default_.has_value();
    if (known) listBeforeADefault();
    default_ = "";
    if (known) log_.write("No default output: no output is active");
}

void OutputChangeLog::renamed(const std::string& id, const std::string& name) {
    const auto listed = active_.find(id);
    if (activeKnown_ && listed != active_.end()) {
        if (named(id, listed->second) == named(id, name)) return;
        listed->second = name;
    }
    log_.write("Output renamed: " + named(id, name));
}

// Listing the outputs asks the system for every name: done only while the log is kept.
void OutputChangeLog::devicesChanged() {
    if (!log_.started()) {
        activeKnown_ = false;
        return;
    }
    std::vector<platform::OutputDevice> outputs;
    if (!platform::succeeded(endpoints_.activeOutputs(outputs))) return;
    std::map<std::string, std::string> now;
    for (auto& output : outputs) now.emplace(std::move(output.id), std::move(output.name));
    if (activeKnown_) {
        for (const auto& [id, name] : active_) {
            const auto still = now.find(id);
            if (still == now.end()) {
                log_.write("Output removed: " + named(id, name));
            } else if (named(id, still->second) != named(id, name)) {
                log_.write("Output renamed: " + named(id, still->second));
            }
        }
        for (const auto& [id, name] : now) {
            if (!active_.count(id)) log_.write("Output added: " + named(id, name));
        }
    }
    active_ = std::move(now);
    activeKnown_ = true;
}

}  // namespace qmx::mixer
