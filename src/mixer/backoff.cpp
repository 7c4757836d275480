#include "mixer/backoff.h"

#include <algorithm>

namespace qmx::mixer {

// A schedule without a try since it held waits for nothing: a service that stops again a moment
// after it came back is tried at once, not after the first wait counted from the try that held.
bool Backoff::due(std::uint32_t now) const {
    return !last_ || now - *last_ >= waitMs();
}

void Backoff::reset() {
    tries_ = 0;
    last_.reset();
}

void Backoff::tried(std::uint32_t now) {
    last_ = now;
    ++tries_;
}

// 1, 2, 4, 8, 16, then 30 s with the connection's figures; the doublings stop before the shift
// could overflow.
std::uint32_t Backoff::waitMs() const {
    std::uint32_t wait = firstMs_;
    for (std::uint32_t i = 1; i < tries_ && wait < longestMs_; ++i) wait *= 2;
    return std::min(wait, longestMs_);
}

}  // namespace qmx::mixer
