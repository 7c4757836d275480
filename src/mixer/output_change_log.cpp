#include "mixer/output_change_log.h"

#include <vector>

namespace qmx::mixer {

namespace {
std::string named(const std::string& id, const std::string& name) {
    return id + " (" + name + ")";
}
}  // namespace

void OutputChangeLog::defaultIs(const std::string& id, const std::string& name) {
    if (id == default_) return;
    default_ = id;
    log_.write("Default output changed to " + named(id, name));
}

void OutputChangeLog::noDefault() {
    if (default_.empty()) return;
    default_.clear();
    log_.write("No default output: no output is active");
}

void OutputChangeLog::renamed(const std::string& id, const std::string& name) {
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
            if (!now.count(id)) log_.write("Output removed: " + named(id, name));
        }
        for (const auto& [id, name] : now) {
            if (!active_.count(id)) log_.write("Output added: " + named(id, name));
        }
    }
    active_ = std::move(now);
    activeKnown_ = true;
}

}  // namespace qmx::mixer
