#pragma once

#include <cstdint>
#include <string>

namespace qmx {

// The program's own words for the result codes of the audio system, which the system describes
// in none: the AUDCLNT_E_* codes, the losses of the device and of the audio service, and a
// Windows without a policy-config client. Empty for any other code.
std::string resultWords(std::uint32_t code);

}  // namespace qmx
