#pragma once

#include <cstdint>
#include <string>

namespace qmx {

// Nearest integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
std::int64_t roundHalfEven(double value);

// The program's text-to-number conversions: decimal text with optional surrounding blanks and
// sign. Anything else is a type mismatch; a value outside 32 bits is an overflow.
std::int32_t textToInt32(const std::string& text);

}  // namespace qmx
