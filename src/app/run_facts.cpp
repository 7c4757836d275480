#include "app/run_facts.h"

#include <string>

#include "common/app_title.h"
#include "common/device_name.h"

namespace qmx::app {

namespace {

// The kernel's version, and the one the program is told where they differ (Windows 8.1 and
// later tell it 6.2): its choices follow the latter.
std::string windowsLine(const platform::OsVersion& v, const platform::OsVersion& told) {
    if (v.major == 0) return "Windows version unknown";
    std::string text = "Windows " + std::to_string(v.major) + "." + std::to_string(v.minor) +
                       " build " + std::to_string(v.build) +
                       (v.platformId == 2 ? "" : ", not the NT family");
    if (told.major != v.major || told.minor != v.minor) {
        text += ", the program is told " + std::to_string(told.major) + "." +
                std::to_string(told.minor);
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
    log.write(std::string(kAppTitle) + " started, process " +
              std::to_string(platform.processes.currentProcessId()));
    log.write(windowsLine(platform.system.kernelVersion(), platform.system.version()));
    log.write("Resolution " + std::to_string(platform.forms.windowDpi(host)) + " DPI");
    log.write(audioLine(platform, mixer));
}

}  // namespace qmx::app
