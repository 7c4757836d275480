// How late Windows may deliver the program's timer ticks to save power.
#include <gtest/gtest.h>

#include "ui/timer_tolerance.h"

namespace qmx::testing {
namespace {

TEST(TimerTolerance, TheFastestTimersKeepTheSystemDefaultTheOthersATenthOfTheirInterval) {
    const struct {
        unsigned interval, tolerance;
    } cases[] = {
        {1, 0},                         // the fade-out and the knob following the volume
        {9, 0},    {10, 1}, {100, 10},  // the mute poll
        {500, 50},                      // the drag flag's clearing, the About box's device name
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::timerToleranceMs(c.interval), c.tolerance) << c.interval;
}

}  // namespace
}  // namespace qmx::testing
