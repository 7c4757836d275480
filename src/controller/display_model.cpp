#include "controller/display_model.h"

#include <algorithm>

#include "common/rounding.h"

namespace qmx::controller {

std::int32_t volumePercent(std::uint32_t level) {
    return static_cast<std::int32_t>(roundHalfEven(level / 65535.0 * 100.0));
}

float knobTopForPercent(std::int32_t percent) {
    return static_cast<float>((100 - percent) * kTwipsPerPercent + kKnobTopOfTravel);
}

std::int32_t knobStepForTop(float knobTop) {
    return static_cast<std::int32_t>(
        roundHalfEven((static_cast<double>(knobTop) - kKnobTopOfTravel) / kTwipsPerPercent));
}

std::uint32_t levelForKnobStep(std::int32_t knobStep) {
    return static_cast<std::uint32_t>(roundHalfEven(65535.0 / 100.0 * (100 - knobStep)));
}

std::int32_t percentChangedBy(std::int32_t percent, int change) {
    return std::clamp(percent + change, 0, 100);
}

}  // namespace qmx::controller
