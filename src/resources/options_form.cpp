#include "resources/options_form.h"

#include <array>

namespace qmx::resources {

namespace {
using K = ControlKind;
using namespace options;

// The shortcut's row, its label and then its box, stands between the boxes and Apply; the dialog
// is wider for it, and everything else keeps its place.
constexpr std::array<ControlDefinition, 7> kControls{{
    {ChkStp, "ChkStp", K::CheckBox, 720, 480, 255, 255, "", "", true},
    {Label1, "Label1", K::Label, 1200, 525, 1905, 195, "Run when Windows starts.", "", true},
    {ChkShadow, "chkShadow", K::CheckBox, 720, 960, 255, 255, "", "", true},
    {Label2, "Label2", K::Label, 1200, 1005, 1290, 195, "Controller Shadow", "", true},
    {Label3, "Label3", K::Label, 720, 1350, 2415, 195, "Shortcut to open the controller:", "",
     true},
    {HotKey1, "HotKey1", K::HotKeyBox, 3255, 1305, 1935, 285, "", "", true},
    {Command1, "Command1", K::CommandButton, 720, 1680, 2295, 375, "Apply", "", true},
}};

constexpr FormDefinition kForm{"Form4",    FormKind::ToolDialog,      5910,    2400, "", kControls,
                               0xFFFFFFFF, platform::PictureId::None, Command1};
}  // namespace

const FormDefinition& optionsForm() {
    return kForm;
}

}  // namespace qmx::resources
