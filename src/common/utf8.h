#pragma once

#include <cstddef>
#include <string_view>

namespace qmx {

// Whether a byte of UTF-8 text continues a character rather than starting one.
inline bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The longest start of UTF-8 text that fits `maxBytes` without cutting a character apart.
inline std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    while (end > 0 && continuesCharacter(text[end])) --end;
    return text.substr(0, end);
}

}  // namespace qmx
