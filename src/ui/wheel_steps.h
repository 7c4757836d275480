#pragma once

#include "platform/window_events.h"

namespace qmx::ui {

// Wheel turns as volume steps: a notch is two steps. The smaller deltas of high-resolution
// wheels and touchpads add up until they make a step; what is left over waits for the next turn.
class WheelSteps {
public:
    int add(int delta) {
        rest_ += delta * kStepsPerNotch;
        const int steps = rest_ / platform::kWheelNotch;
        rest_ -= steps * platform::kWheelNotch;
        return steps;
    }
    void reset() { rest_ = 0; }

private:
    static constexpr int kStepsPerNotch = 2;
    int rest_ = 0;
};

}  // namespace qmx::ui
