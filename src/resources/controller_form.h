#pragma once

#include "resources/form_definition.h"

namespace qmx::resources {

// The controller window (Form1).
namespace controller {
enum Control : int {
    Image4 = 1,  // opens the system's volume control (hot spot over the skin)
    Image3,      // opens the audio properties (hot spot)
    Label2,      // the volume percent
    Knob,        // image2, the slider thumb
    Track,       // Image1, the slider track
    ChkMute,
    Image6,  // close button, Vista skin
    Image5,  // close button, Classic skin
    Command1,
    TxtDetect,
    Label1,
};
enum Timer : int { TmrDragHandler = 1, Timer1, TmrSyncVol };
inline constexpr unsigned kDragHandlerIntervalMs = 500;
inline constexpr unsigned kFadeIntervalMs = 1;
inline constexpr unsigned kSyncVolIntervalMs = 1;
}  // namespace controller

const FormDefinition& controllerForm();

}  // namespace qmx::resources
