#include "app/switch_failure.h"

#include "common/result_words.h"

namespace qmx::app {

namespace {

constexpr const char* kSwitchOutputFailed = "Unable to switch the playback device.";
// The system error whose HRESULT form is kDeviceNotConnected: its code is the HRESULT's low word.
constexpr std::uint32_t kDeviceNotConnectedError = platform::kDeviceNotConnected & 0xFFFF;

// A device lost is said in the system's own words, in the user's language; the system has none
// for the other audio codes.
std::string reasonFor(std::uint32_t rc, platform::Shell& shell) {
    if (platform::deviceLost(rc)) return shell.errorDescription(kDeviceNotConnectedError);
    const std::string words = resultWords(rc);
    return words.empty() ? shell.errorDescription(rc) : words;
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
