#include "app/run_facts.h"

#include <string>

#include "common/app_title.h"
#include "common/device_name.h"

namespace qmx::app {

namespace {

std::string windowsLine(const platform::OsVersion& v) {
    if (v.major == 0) return "Windows version unknown";
    std::string line = "Windows " + std::to_string(v.major) + "." + std::to_string(v.minor) +
                       " build " + std::to_string(v.build);
    if (v.platformId != 2) line += ", not the NT family";
    return line;
}

const char* statusText(platform::EndpointStatus status) {
    switch (status) {
        case platform::EndpointStatus::NoDevice:
            return "no active output";
        case platform::EndpointStatus::DeviceGone:
            return "the default output is gone";
        default:
            return "the default output could not be asked for";
    }
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
    const platform::EndpointStatus status =
        platform.outputs->defaultOutput(platform::Role::Console, id);
    if (status != platform::EndpointStatus::Ok) {
        return std::string("Audio: Core Audio, ") + statusText(status);
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
    log.write(windowsLine(platform.system.version()));
    log.write("Resolution " + std::to_string(platform.windows.windowDpi(host)) + " DPI");
    log.write(audioLine(platform, mixer));
}

}  // namespace qmx::app
