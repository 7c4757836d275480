#include "app/run_facts.h"

#include <cstdio>
#include <string>

#include "common/app_title.h"
#include "common/device_name.h"

namespace qmx::app {

namespace {

// The kernel's version, and the one the program is told where they differ (Windows 8.1 and
// later tell it 6.2): its choices follow the latter.
std::string windowsLine(const platform::OsVersion& v, const platform::OsVersion& told) {
    if (v.major == 0) return "Windows version unknown";
    char line[120];
    std::snprintf(line, sizeof line, "Windows %u.%u build %u%s", static_cast<unsigned>(v.major),
                  static_cast<unsigned>(v.minor), static_cast<unsigned>(v.build),
                  v.platformId == 2 ? "" : ", not the NT family");
    std::string text = line;
    if (told.major != v.major || told.minor != v.minor) {
        std::snprintf(line, sizeof line, ", the program is told %u.%u",
                      static_cast<unsigned>(told.major), static_cast<unsigned>(told.minor));
        text += line;
    }
    return text;
}

std::string defaultOutputFailure(std::uint32_t result) {
    if (result == platform::kNotFound) return "no active output";
    return "the default output could not be asked for, " + hexCode(result);
}

// On Windows Vista and later the mixer acts on the console's default output; at start-up that
// is the one it reached. On XP it is mixer device 0, named by its speakers line.
std::string audioLine(platform::Platform& platform, mixer::MixerAccess& mixer) {
    if (platform.outputs == nullptr) {
        const std::string& field = mixer.refreshMixerName();
        const std::string name = printableName(field.substr(0, field.find('\0')));
        return "Audio: the legacy mixer, device 0" + (name.empty() ? "" : " \"" + name + "\"");
    }
    std::string id;
    const std::uint32_t result = platform.outputs->defaultOutput(platform::Role::Console, id);
    if (!platform::succeeded(result)) {
        return "Audio: Core Audio, " + defaultOutputFailure(result);
    }
    std::string name;
    platform.outputs->friendlyName(id, name);
    return "Audio: Core Audio, default output " + id + " \"" + printableName(name) + "\"";
}

}  // namespace

void writeRunFacts(EventLog& log, platform::Platform& platform, mixer::MixerAccess& mixer,
                   platform::WindowId host) {
    char line[80];
    std::snprintf(line, sizeof line, "%s started, process %u", kAppTitle,
                  static_cast<unsigned>(platform.processes.currentProcessId()));
    log.write(line);
    log.write(windowsLine(platform.system.kernelVersion(), platform.system.version()));
    std::snprintf(line, sizeof line, "Resolution %d DPI", platform.forms.windowDpi(host));
    log.write(line);
    log.write(audioLine(platform, mixer));
}

}  // namespace qmx::app
