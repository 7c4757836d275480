#include "resources/controller_form.h"

#include <array>

namespace qmx::resources {

namespace {
using K = ControlKind;
using namespace controller;

constexpr FontFaceSizeWeight kVolumeFont{"Tahoma", 9.75f, true, false};
constexpr std::uint32_t kWhite = 0xFFFFFF;
using P = platform::PictureId;

constexpr std::array<ControlDefinition, 11> kControls{{
    {Image4, "Image4", K::Image, 80, 60, 255, 255, "", "Open Volume Control / Mixture", true,
     nullptr, 0, P::None, true},
    {Image3, "Image3", K::Image, 340, 240, 255, 255, "", "Adjust Audio Properties", true, nullptr,
     0, P::None, true},
    {Label2, "Label2", K::Label, 655, 100, 240, 240, "00", "Volume Level", true, &kVolumeFont,
     kWhite, P::None, false, true},
    // The knob takes the keyboard focus; the signal button below the skin never does.
    {Knob, "image2", K::PictureBox, 667, 470, 225, 285, "", "", true, nullptr, 0, P::None, true,
     false, TabStop::Yes},
    {Track, "Image1", K::Image, 652, 495, 255, 1680, "", "", true},
    {ChkMute, "chkmute", K::CheckBox, 680, 2200, 200, 200, "", "Mute", true, nullptr, 0, P::None,
     true},
    {Image6, "Image6", K::Image, 590, 2380, 375, 390, "", "", true, nullptr, 0, P::VistaClose},
    {Image5, "Image5", K::Image, 697, 2540, 225, 210, "", "Close", true, nullptr, 0,
     P::ClassicClose, true},
    {Command1, "Command1", K::CommandButton, 480, 3600, 255, 255, "Command1", "", true, nullptr, 0,
     P::None, false, false, TabStop::No},
    {TxtDetect, "txtdetect", K::TextBox, 600, 4320, 375, 285, "0", "", true},
    {Label1, "Label1", K::Label, 0, 4320, 480, 195, "Label1", "", true},
}};

constexpr FormDefinition kForm{"Form1", FormKind::Controller, 1005, 2790, "", kControls, kWhite};
}  // namespace

const FormDefinition& controllerForm() {
    return kForm;
}

}  // namespace qmx::resources
