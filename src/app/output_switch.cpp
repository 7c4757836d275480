#include "app/output_switch.h"

#include <utility>
#include <vector>

namespace qmx::app {

OutputSwitch makeDefaultForEveryRole(platform::AudioEndpoints& system, const std::string& id) {
    std::vector<std::pair<platform::Role, std::string>> switched;  // each role's previous default
    bool changed = false;
    for (platform::Role role : platform::kRoles) {
        std::string previous;
        const bool known = system.defaultOutput(role, previous) == platform::EndpointStatus::Ok;
        if (known && previous == id) continue;
        if (const std::uint32_t rc = system.setDefaultOutput(role, id); rc != 0) {
            for (auto it = switched.rbegin(); it != switched.rend(); ++it) {
                system.setDefaultOutput(it->first, it->second);
            }
            return {rc, false};
        }
        changed = true;
        if (known) switched.emplace_back(role, std::move(previous));
    }
    return {0, changed};
}

}  // namespace qmx::app
