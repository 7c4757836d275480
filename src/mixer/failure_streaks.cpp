#include "mixer/failure_streaks.h"

#include <string>
#include <utility>

namespace qmx::mixer {

namespace {
std::string failures(std::uint32_t count) {
    return std::to_string(count) + (count == 1 ? " failure" : " failures");
}
}  // namespace

FailureStreaks::FailureStreaks(EventLog& log, Clock clock, std::uint32_t boundMs)
    : log_(log), clock_(std::move(clock)), boundMs_(boundMs) {}

const char* FailureStreaks::methodOf(EndpointCall call) {
    switch (call) {
        case EndpointCall::DefaultLookup:
            return "GetDefaultAudioEndpoint";
        case EndpointCall::Activate:
            return "Activate";
        case EndpointCall::VolumeRead:
            return "GetMasterVolumeLevelScalar";
        case EndpointCall::VolumeWrite:
            return "SetMasterVolumeLevelScalar";
        case EndpointCall::MuteRead:
            return "GetMute";
        case EndpointCall::MuteWrite:
            return "SetMute";
        case EndpointCall::InstalledCount:
            return "EnumAudioEndpoints";
        case EndpointCall::Name:
            return "GetValue";
    }
    return "";
}

// The tick count goes on while the machine sleeps or hibernates (Microsoft, "Windows Time") and
// no timer fires meanwhile: one failure before the lid closes and one after resume are not a
// failure of hours. The pause is the time between a failure's answer and the next call: a call
// that takes seconds to fail (a hung audio service) has been failing all that time.
void FailureStreaks::failed(EndpointCall call, std::uint32_t code, bool loss,
                            std::uint32_t startedAt) {
    Streak& s = streak(call);
    const std::uint32_t now = clock_();
    const bool resumed = s.lastFailure && startedAt - *s.lastFailure > kLongestPauseMs;
    s.lastFailure = now;
    if (s.failures++ == 0) {
        log_.write(std::string(methodOf(call)) + " failed " + hexCode(code) +
                   " (first of a streak)");
    }
    if (loss) {
        s.since.reset();
    } else if (!s.since || resumed) {
        s.since = startedAt;
    }
}

void FailureStreaks::answered(EndpointCall call) {
    end(call, " answers again after ");
}

void FailureStreaks::dropped(EndpointCall call) {
    end(call, " write dropped after ");
}

void FailureStreaks::end(EndpointCall call, const char* how) {
    Streak& s = streak(call);
    if (s.failures != 0) log_.write(std::string(methodOf(call)) + how + failures(s.failures));
    s = Streak{};
}

// A span counts only the time its call was being made: one that was never tried meanwhile has
// not been failing, and ending the program at its next failure would blame it for an outage.
void FailureStreaks::interrupted(EndpointCall call) {
    streak(call).since.reset();
}

bool FailureStreaks::lasting(EndpointCall call) const {
    const auto& since = streaks_[static_cast<std::size_t>(call)].since;
    return since && clock_() - *since >= boundMs_;
}

}  // namespace qmx::mixer
