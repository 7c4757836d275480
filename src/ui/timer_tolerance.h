#pragma once

namespace qmx::ui {

// How much later than due Windows may deliver a tick of a timer of `intervalMs`, so that it
// wakes the processor together with other timers; 0 is the system's default, as with SetTimer.
unsigned timerToleranceMs(unsigned intervalMs);

}  // namespace qmx::ui
