#include "common/device_name.h"

#include <algorithm>
#include <iterator>

#include "common/utf8.h"

namespace qmx {

namespace {
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
// Characters that draw no mark of their own: the no-break space, the zero-width space,
// non-joiner and joiner, the word joiner and the zero-width no-break space (a byte-order mark
// left at a name's start).
constexpr std::string_view kBlanks[] = {
    " ",           "\xC2\xA0", "\xE2\x80\x8B", "\xE2\x80\x8C", "\xE2\x80\x8D", "\xE2\x81\xA0",
    "\xEF\xBB\xBF"};
}  // namespace

std::string printableName(std::string_view name) {
    std::string shown;
    shown.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x20 || byte == 0x7F) {
            shown += ' ';
        } else if (byte == 0xC2 && i + 1 < name.size() &&
                   static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(name[i + 1]) <= 0x9F) {
            shown += ' ';  // U+0080..U+009F, the second set of control characters
            ++i;
        } else {
            shown += name[i];
        }
    }
    return shown;
}

bool showsNothing(std::string_view name) {
    const std::string shown = printableName(name);
    std::string_view rest = shown;
    while (!rest.empty()) {
        const auto blank = std::find_if(std::begin(kBlanks), std::end(kBlanks),
                                        [&](std::string_view b) { return rest.starts_with(b); });
        if (blank == std::end(kBlanks)) return false;
        rest.remove_prefix(blank->size());
    }
    return true;
}

std::string cutToCharacters(std::string_view name, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (continuesCharacter(name[i])) continue;
        if (++characters == maxCharacters) {
            std::size_t end = i + 1;
            while (end < name.size() && continuesCharacter(name[end])) ++end;
            if (end < name.size()) return std::string(name.substr(0, i)) + std::string(kEllipsis);
            break;
        }
    }
    return std::string(name);
}

std::string cutToBytes(std::string_view name, std::size_t maxBytes) {
    if (name.size() <= maxBytes) return std::string(name);
    if (maxBytes < kEllipsis.size()) return std::string(utf8Prefix(name, maxBytes));
    return std::string(utf8Prefix(name, maxBytes - kEllipsis.size())) + std::string(kEllipsis);
}

}  // namespace qmx
