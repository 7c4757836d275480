#include "ui/timer_tolerance.h"

namespace qmx::ui {

namespace {

// Windows raises a shorter interval to USER_TIMER_MINIMUM: such a timer asks for every tick it can
// have.
constexpr unsigned kFastestTimerMs = 10;
constexpr unsigned kToleranceShare = 10;

}  // namespace

// The fastest timers draw what the user watches (the controller's fade-out and its knob
// following the volume): they keep the system's default, which makes SetCoalescableTimer behave
// as SetTimer (Microsoft, "SetCoalescableTimer function"). Each tick of the others may come up to
// a tenth of their interval after it is due (Raymond Chen, "What exactly does the msWindowLength
// parameter to SetThreadpoolTimer mean?"), so two ticks may lie that much closer or further apart
// than the interval, while ten polls still take a second: 10 ms on the 100 ms mute poll, less
// than the 15.6 ms clock tick by which any timer may already land late (Microsoft, "Timers, Timer
// Resolution, and Development of Efficient Code"), and 50 ms on the half-second timers.
unsigned timerToleranceMs(unsigned intervalMs) {
    return intervalMs < kFastestTimerMs ? 0 : intervalMs / kToleranceShare;
}

}  // namespace qmx::ui
