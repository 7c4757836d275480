#include "resources/about_form.h"

#include <array>

namespace qmx::resources {

namespace {
using K = ControlKind;
using P = platform::PictureId;
using namespace about;

constexpr FontFaceSizeWeight kTitle{"Tahoma", 11.25f, true, false};
constexpr FontFaceSizeWeight kMixer{"Tahoma", 9.75f, true, false};
constexpr FontFaceSizeWeight kBold9{"Tahoma", 9.0f, true, false};
constexpr FontFaceSizeWeight kPlain{"Tahoma", 9.75f, false, false};
constexpr FontFaceSizeWeight kLink{"Tahoma", 9.75f, false, true};
constexpr FontFaceSizeWeight kNotice{"Verdana", 6.75f, false, false};
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGrey = 0x808080;

constexpr std::array<ControlDefinition, 12> kControls{{
    {Label5, "Label5", K::Label, 960, 240, 3135, 270, "Velto Volume Controller 4.0", "", true,
     &kTitle, kWhite},
    {Lblmanufac, "lblmanufac", K::Label, 1200, 600, 2715, 240, "Mixer : No details available !", "",
     true, &kMixer, kWhite},
    {Label6, "Label6", K::Label, 1560, 1125, 1755, 210, "Korwen's Software", "", true, &kBold9,
     kWhite},
    {Label7, "Label7", K::Label, 1680, 1380, 1605, 210, "Gdynia, Poland", "", true, &kBold9,
     kWhite},
    {Label11, "Label11", K::Label, 960, 1800, 525, 240, "Web :", "", true, &kPlain, kWhite, P::None,
     true},
    {Label4, "Label4", K::Label, 1560, 1800, 2475, 240, "www.korwen-software.example", "", true,
     &kLink, kWhite, P::None, true, false, TabStop::Yes},
    {Image1, "Image1", K::Image, 3600, 2400, 930, 465, "", "", true, nullptr, 0, P::AboutLogo,
     true},
    {Label9, "Label9", K::Label, 720, 3720, 3555, 420, "Freeware: copy it and share it freely.", "",
     true, &kNotice, kWhite},
    {Label2, "Label2", K::Label, 720, 4440, 870, 240, "Graphics :", "", true, &kPlain, kWhite,
     P::None, true},
    {Label1, "Label1", K::Label, 1680, 4440, 2415, 240, "graphics.korwen-software.example", "",
     true, &kLink, kWhite, P::None, true, false, TabStop::Yes},
    {Label3, "Label3", K::Label, 480, 5040, 4470, 240,
     "Visit our website to download more utilities like this.", "", true, &kPlain, kGrey},
    {Label10, "Label10", K::Label, 960, 5400, 3075, 210, "Korwen's Software 2007 - 2026", "", true,
     &kBold9, kGrey},
}};

constexpr FormDefinition kForm{"Form3",  FormKind::ToolDialog, 5160, 5850, "About", kControls,
                               0xFFFFFF, P::AboutBackground};
}  // namespace

const FormDefinition& aboutForm() {
    return kForm;
}

}  // namespace qmx::resources
