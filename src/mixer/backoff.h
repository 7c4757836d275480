#pragma once

#include <cstdint>
#include <optional>

namespace qmx::mixer {

// The pace of something tried again until it holds: the first try at once, each later one after
// a wait that doubles from firstMs up to longestMs.
class Backoff {
public:
    Backoff(std::uint32_t firstMs, std::uint32_t longestMs)
        : firstMs_(firstMs), longestMs_(longestMs) {}

    // `now`: milliseconds since some start, wrapping around.
    bool due(std::uint32_t now) const;
    void tried(std::uint32_t now);
    // It held: the next try, if one is ever needed, is due at once.
    void reset();
    std::uint32_t tries() const { return tries_; }
    // The wait after the last try.
    std::uint32_t waitMs() const;

private:
    std::uint32_t firstMs_;
    std::uint32_t longestMs_;
    std::uint32_t tries_ = 0;
    std::optional<std::uint32_t> last_;  // none since the start or the last reset
};

}  // namespace qmx::mixer
