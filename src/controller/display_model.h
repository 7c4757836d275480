#pragma once

#include <cstdint>

namespace qmx::controller {

// Arithmetic between the mixer level and what the controller shows. The knob's top moves on a
// 13.8-twip grid from 470 (full volume) to 1850 (silence); the knob step is its distance from the
// top in 1-percent steps.
inline constexpr float kKnobTopOfTravel = 470.0f;
inline constexpr double kTwipsPerPercent = 13.8;
inline constexpr float kKnobLowestDragTop = 1845.0f;

// Volume percent 0..100 shown for a mixer level 0..65535.
std::int32_t volumePercent(std::uint32_t level);
// Knob top in twips for a volume percent.
float knobTopForPercent(std::int32_t percent);
// Knob step 0..100 for a knob top.
std::int32_t knobStepForTop(float knobTop);
// Mixer level written for a knob step.
std::uint32_t levelForKnobStep(std::int32_t knobStep);
// The volume percent `change` away from `percent`, held within 0..100.
std::int32_t percentChangedBy(std::int32_t percent, int change);

}  // namespace qmx::controller
