#include "resources/options_form.h"

#include <array>

namespace qmx::resources {

namespace {
using K = ControlKind;
using namespace options;

// The shortcut's row stands between the boxes and Apply, which moves down by the row's height
// with the dialog's bottom.
constexpr std::array<ControlDefinition, 7> kControls{{
    {ChkStp, "ChkStp", K::CheckBox, 720, 480, 255, 255, "", "", true},
    {Label1, "Label1", K::Label, 1200, 525, 1905, 195, "Run when Windows starts.", "", true},
    {ChkShadow, "chkShadow", K::CheckBox, 720, 960, 255, 255, "", "", true},
    {Label2, "Label2", K::Label, 1200, 1005, 1290, 195, "Controller Shadow", "", true},
    {Label3, "Label3", K::Label, 720, 1440, 2295, 195, "Shortcut to open the controller:", "",
     true},
    {HotKey1, "HotKey1", K::HotKeyBox, 720, 1680, 2295, 315, "", "", true},
    {Command1, "Command1", K::CommandButton, 720, 2160, 2295, 375, "Apply", "", true},
}};

constexpr FormDefinition kForm{"Form4",    FormKind::ToolDialog,      3780,    2880, "", kControls,
                               0xFFFFFFFF, platform::PictureId::None, Command1};
}  // namespace

const FormDefinition& optionsForm() {
    return kForm;
}

}  // namespace qmx::resources
