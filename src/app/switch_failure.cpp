#include "app/switch_failure.h"

namespace qmx::app {

namespace {

constexpr const char* kSwitchOutputFailed = "Unable to switch the playback device.";
// The system error whose HRESULT form is kDeviceNotConnected: its code is the HRESULT's low word.
constexpr std::uint32_t kDeviceNotConnectedError = platform::kDeviceNotConnected & 0xFFFF;

// Words of the program's own for the codes the system describes in none: the AUDCLNT_E_* codes
// (Microsoft, "IAudioClient::Start" and "IAudioClient::Initialize", return values), the losses of
// the audio service and a Windows without a policy-config client.
std::string reasonFor(std::uint32_t rc, platform::Shell& shell) {
    if (platform::deviceLost(rc)) return shell.errorDescription(kDeviceNotConnectedError);
    if (platform::serviceLost(rc)) return "The audio service is not running.";
    if (rc == platform::kAudioDeviceInUse) return "Another program uses the device exclusively.";
    if (rc == platform::kNoPolicyConfig) {
        return "This version of Windows does not let programs choose the playback device.";
    }
    return shell.errorDescription(rc);
}

std::string rolesText(const std::vector<platform::Role>& roles) {
    std::string text;
    for (std::size_t i = 0; i < roles.size(); ++i) {
        if (i > 0) text += i + 1 == roles.size() ? " and " : ", ";
        text += roleName(roles[i]);
    }
    return text;
}

}  // namespace

std::string switchFailureMessage(const OutputSwitch& done, platform::Shell& shell) {
    std::string message = std::string(kSwitchOutputFailed) + " " + reasonFor(done.result, shell);
    if (!done.leftSwitched.empty()) {
        message += " The chosen device stays the default for " + rolesText(done.leftSwitched) + ".";
    }
    return message;
}

}  // namespace qmx::app
