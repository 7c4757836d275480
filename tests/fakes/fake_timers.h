#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "fakes/fake_windows.h"
#include "platform/timers.h"

namespace qmx::fakes {

// The simulated windows' timers on a virtual clock. Timers tick only when the test advances the
// clock; due ticks run one at a time, in order, as a message loop delivers them. A destroyed
// window's timers are gone with it.
class FakeTimers : public platform::Timers {
public:
    FakeTimers(CallLog& log, FakeWindows& windows) : log_(log), windows_(windows) {}

    void setTimer(platform::WindowId window, int timerId, unsigned intervalMs) override {
        log_.add("windows.setTimer " + windows_.windows.at(window).name + " " +
                 std::to_string(timerId));
        killTimer(window, timerId);
        // A message loop delivers no timer faster than every 10 ms.
        const unsigned interval = std::max(intervalMs, 10u);
        timers_.push_back({window, timerId, interval, now + interval});
    }
    void killTimer(platform::WindowId window, int timerId) override {
        std::erase_if(timers_,
                      [&](const auto& t) { return t.window == window && t.id == timerId; });
    }
    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(now) + tickShift_; }

    // Advances the virtual clock, delivering every timer tick that falls due.
    void advance(unsigned milliseconds) {
        const std::uint64_t end = now + milliseconds;
        for (;;) {
            std::erase_if(timers_,
                          [&](const auto& t) { return !windows_.windows.count(t.window); });
            auto next =
                std::min_element(timers_.begin(), timers_.end(),
                                 [](const auto& a, const auto& b) { return a.due < b.due; });
            if (next == timers_.end() || next->due > end) break;
            now = next->due;
            next->due += next->interval;
            const int id = next->id;
            windows_.deliver(next->window, [id](platform::WindowEvents& e) { e.onTimer(id); });
        }
        now = std::max(now, end);  // a tick that slept may have moved it on
    }
    // The machine sleeps: the tick count goes on and no timer ticks; at resume each timer that
    // fell due meanwhile ticks once.
    void sleep(unsigned milliseconds) {
        now += milliseconds;
        for (auto& timer : timers_) timer.due = std::max(timer.due, now);
    }
    // Moves the tick count on, as after weeks of the system's run, so that it wraps to 0
    // `milliseconds` from now; the timers keep their pace.
    void wrapIn(unsigned milliseconds) {
        tickShift_ = 0u - milliseconds - static_cast<std::uint32_t>(now);
    }

    std::uint64_t now = 0;

private:
    struct RunningTimer {
        platform::WindowId window;
        int id;
        unsigned interval;
        std::uint64_t due;
    };
    CallLog& log_;
    FakeWindows& windows_;
    std::vector<RunningTimer> timers_;
    std::uint32_t tickShift_ = 0;
};

}  // namespace qmx::fakes
