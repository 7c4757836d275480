#include "fakes/fake_timers.h"

#include <algorithm>

namespace qmx::fakes {

void FakeTimers::setTimer(platform::WindowId window, int timerId, unsigned intervalMs) {
    log_.add("windows.setTimer " + windows_.windows.at(window).name + " " +
             std::to_string(timerId));
    killTimer(window, timerId);
    // A message loop delivers no timer faster than every 10 ms.
    const unsigned interval = std::max(intervalMs, 10u);
    timers_.push_back({window, timerId, interval, now + interval});
}

void FakeTimers::killTimer(platform::WindowId window, int timerId) {
    std::erase_if(timers_,
                  [&](const RunningTimer& t) { return t.window == window && t.id == timerId; });
}

void FakeTimers::advance(unsigned milliseconds) {
    const std::uint64_t end = now + milliseconds;
    for (;;) {
        std::erase_if(timers_,
                      [&](const RunningTimer& t) { return !windows_.windows.count(t.window); });
        auto next = std::min_element(timers_.begin(), timers_.end(),
                                     [](const auto& a, const auto& b) { return a.due < b.due; });
        if (next == timers_.end() || next->due > end) break;
        now = next->due;
        next->due += next->interval;
        const platform::WindowId window = next->window;
        const int id = next->id;
        windows_.deliver(window, [id](platform::WindowEvents& e) { e.onTimer(id); });
    }
    now = end;
}

}  // namespace qmx::fakes
