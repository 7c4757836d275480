#pragma once

#include <cstdint>

#include "platform/window_events.h"

namespace qmx::platform {

// A window's timers: each ticks (onTimer) every interval until it is killed or its window is
// destroyed. Setting a running timer again starts it anew with the new interval.
class Timers {
public:
    Timers() = default;
    Timers(const Timers&) = delete;
    Timers& operator=(const Timers&) = delete;
    virtual ~Timers() = default;

    virtual void setTimer(WindowId window, int timerId, unsigned intervalMs) = 0;
    virtual void killTimer(WindowId window, int timerId) = 0;
    // The milliseconds since the system started, the clock timers run by; it wraps around after
    // 2^32 ms, so only differences of two readings count.
    virtual std::uint32_t tickCount() = 0;
};

}  // namespace qmx::platform
