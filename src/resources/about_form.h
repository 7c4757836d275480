#pragma once

#include "resources/form_definition.h"

namespace qmx::resources {

// The About box (Form3).
namespace about {
enum Control : int {
    Label5 = 1,  // product title
    Lblmanufac,  // the mixer line
    Label6,      // the maker's name, a link
    Label7,      // the maker's location
    Label11,     // "Web :"
    Label4,      // the maker's web address, a link
    Image1,      // the logo
    Label9,      // a notice line
    Label2,      // "Graphics :"
    Label1,      // the second web address, a link
    Label3,      // "Visit our website..."
    Label10,     // the maker's name and years
};
enum Timer : int { TmrDeviceName = 1 };
// How often an open About box looks at the name of the device in use.
inline constexpr unsigned kDeviceNameIntervalMs = 500;
inline constexpr const char* kMakerAddress = "https://www.korwen-software.example/";
inline constexpr const char* kGraphicsAddress = "https://graphics.korwen-software.example/";
}  // namespace about

const FormDefinition& aboutForm();

}  // namespace qmx::resources
