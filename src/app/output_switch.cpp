#include "app/output_switch.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace qmx::app {

namespace {

using platform::Role;

struct RoleSwitch {
    Role role;
    std::optional<std::string> before;  // unknown when it could not be read
    bool switched = false;
    bool putBack = false;
};

std::optional<std::string> defaultFor(platform::AudioEndpoints& system, Role role) {
    std::string id;
    if (!platform::succeeded(system.defaultOutput(role, id))) return std::nullopt;
    return id;
}

std::string through(platform::AudioEndpoints& system) {
    const std::string pairing = system.policyConfigInUse();
    return pairing.empty() ? " (no policy-config pairing answered)" : " through " + pairing;
}

// Sets a role's default and logs the outcome; the system's code.
std::uint32_t setDefault(platform::AudioEndpoints& system, Role role, const std::string& id,
                         const char* what, EventLog& log) {
    const std::uint32_t rc = system.setDefaultOutput(role, id);
    std::string line = std::string("Default output for ") + roleName(role) + " " + what + " " + id;
    if (rc != 0) line += " failed " + hexCode(rc);
    log.write(line + through(system));
    return rc;
}

}  // namespace

const char* roleName(Role role) {
    switch (role) {
        case Role::Multimedia:
            return "multimedia";
        case Role::Communications:
            return "communications";
        default:
            return "console";
    }
}

OutputSwitch makeDefaultForEveryRole(platform::AudioEndpoints& system, const std::string& id,
                                     EventLog& log) {
    // Every role's default is read before the first switch: a role after one that fails keeps
    // what it had, and one that already had the output was not switched by the program.
    std::vector<RoleSwitch> roles;
    for (Role role : platform::kRoles) roles.push_back(RoleSwitch{role, defaultFor(system, role)});
    std::uint32_t failure = 0;
    for (RoleSwitch& r : roles) {
        if (r.before == id) continue;
        failure = setDefault(system, r.role, id, "set to", log);
        if (failure != 0) break;
        r.switched = true;
    }
    if (failure == 0) {
        return {0, std::any_of(roles.begin(), roles.end(), [](auto& r) { return r.switched; }), {}};
    }
    for (auto it = roles.rbegin(); it != roles.rend(); ++it) {
        if (it->switched && it->before) {
            it->putBack = setDefault(system, it->role, *it->before, "put back to", log) == 0;
        }
    }
    // What is true now: a role read again, or, when it cannot be read, what was done to it.
    OutputSwitch done{failure, false, {}};
    bool everyRole = true;
    for (const RoleSwitch& r : roles) {
        const bool hadIt = r.before == id;
        const std::optional<std::string> now = defaultFor(system, r.role);
        const bool hasIt = now ? *now == id : hadIt || (r.switched && !r.putBack);
        everyRole = everyRole && hasIt;
        if (hasIt && !hadIt) done.leftSwitched.push_back(r.role);
    }
    if (everyRole) return {0, true, {}};
    done.changed = !done.leftSwitched.empty();
    return done;
}

}  // namespace qmx::app
