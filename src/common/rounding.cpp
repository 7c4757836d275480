#include "common/rounding.h"

#include <cctype>
#include <cmath>
#include <limits>

#include "common/runtime_error.h"

namespace qmx {

std::int64_t roundHalfEven(double value) {
    // The default floating-point environment rounds to nearest with ties to even.
    return static_cast<std::int64_t>(std::nearbyint(value));
}

std::int32_t textToInt32(const std::string& text) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const std::size_t firstDigit = i;
    std::int64_t magnitude = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        magnitude = magnitude * 10 + (text[i++] - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            throw RuntimeError("Overflow");
        }
    }
    skipBlanks();
    if (i == firstDigit || i != text.size()) throw RuntimeError("Type mismatch");
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) throw RuntimeError("Overflow");
    return static_cast<std::int32_t>(value);
}

}  // namespace qmx
