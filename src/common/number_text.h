#pragma once

#include <cstdint>
#include <string>

namespace qmx {

// `value` in decimal with leading zeros to at least `digits` digits: 7 -> "007".
inline std::string zeroPadded(std::uint32_t value, std::size_t digits) {
    std::string text = std::to_string(value);
    return text.size() < digits ? std::string(digits - text.size(), '0') + text : text;
}

// `value` in upper-case hexadecimal with leading zeros to at least `digits` digits: 0x1F, 4 ->
// "001F". (The program formats no text with printf: its floating-point machinery alone would
// cost the executable 20 KB.)
inline std::string hexDigits(std::uint32_t value, std::size_t digits) {
    std::string text;
    do {
        text.insert(text.begin(), "0123456789ABCDEF"[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text.size() < digits ? std::string(digits - text.size(), '0') + text : text;
}

}  // namespace qmx
