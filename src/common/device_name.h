#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qmx {

// A device's name (UTF-8) as the program shows it: control characters, which a menu would take
// for its accelerator column (a tab) and a label would draw as boxes, become spaces.
std::string printableName(std::string_view name);

// A name that shows nothing: empty, or nothing but spaces (the no-break space among them),
// zero-width characters and control characters.
bool showsNothing(std::string_view name);

// A name of more than `maxCharacters` characters cut to one less and "…".
std::string cutToCharacters(std::string_view name, std::size_t maxCharacters);

// A name that does not fit `maxBytes` bytes cut, at a character's start, to what fits with "…".
std::string cutToBytes(std::string_view name, std::size_t maxBytes);

}  // namespace qmx
