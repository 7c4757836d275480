#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "common/event_log.h"

namespace qmx::mixer {

// The calls to the audio system whose failures are counted, each kind on its own.
enum class EndpointCall {
    DefaultLookup,
    Activate,
    VolumeRead,
    VolumeWrite,
    MuteRead,
    MuteWrite,
    InstalledCount,
    Name,
};

// Each kind of call's run of failures (a streak). The log gets the first failure of a streak,
// with its code, and the streak's end with its count: never a line per failing call. A streak
// is lasting once its failures other than losses have gone on for the bound; a loss (the device
// or the audio service gone) starts that span again, as a loss never ends the program, and so
// does a pause between two failures far longer than the poll's interval (the machine slept, or
// the program was not scheduled): the span is time during which the call kept failing.
class FailureStreaks {
public:
    using Clock = std::function<std::uint32_t()>;
    // Twenty polls missed.
    static constexpr std::uint32_t kLongestPauseMs = 2000;

    FailureStreaks(EventLog& log, Clock clock, std::uint32_t boundMs);

    // `loss`: the device or the audio service is gone, which the caller renews rather than waits
    // through. `startedAt`: the clock when the call was made (a hung service answers late).
    void failed(EndpointCall call, std::uint32_t code, bool loss, std::uint32_t startedAt);
    void answered(EndpointCall call);
    // A kept write given up (another device in use, or none left): its streak ends unanswered.
    void dropped(EndpointCall call);
    // The call could not be made (its device or the audio service lost, or no output): its span
    // starts again at its next failure, as after a loss.
    void interrupted(EndpointCall call);
    bool lasting(EndpointCall call) const;

    // The system's method a kind of call stands for, as the log names it.
    static const char* methodOf(EndpointCall call);

private:
    struct Streak {
        std::uint32_t failures = 0;
        std::optional<std::uint32_t> since;  // the first failure after the last loss or pause
        std::optional<std::uint32_t> lastFailure;
    };
    Streak& streak(EndpointCall call) { return streaks_[static_cast<std::size_t>(call)]; }
    // Ends a streak, telling how (" answers again after ") when it had failures.
    void end(EndpointCall call, const char* how);

    EventLog& log_;
    Clock clock_;
    std::uint32_t boundMs_;
    std::array<Streak, static_cast<std::size_t>(EndpointCall::Name) + 1> streaks_{};
};

}  // namespace qmx::mixer
