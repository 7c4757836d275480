#include "mixer/backoff.h"

#include <algorithm>

namespace qmx::mixer {

bool Backoff::due(std::uint32_t now) const {
    return tries_ == 0 || !last_ || now - *last_ >= waitMs();
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
