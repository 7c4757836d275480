#include "settings/options_dialog.h"

#include "common/app_title.h"
#include "common/program_end.h"
#include "common/runtime_error.h"
#include "resources/options_form.h"

namespace qmx::settings {

namespace {
using namespace resources::options;
constexpr const char* kShadowOnLater =
    "The shadow will be applied when you launch the application next time.";
constexpr const char* kShadowOffLater =
    "The shadow will be removed when you launch the application next time.";
}  // namespace

OptionsDialog::OptionsDialog(const ui::WindowServices& services, platform::Input& input,
                             platform::MessageBoxes& messageBoxes, SettingsStore& settings,
                             StartupEntry& startup, ShortcutKey& shortcut)
    : ui::Form(services, resources::optionsForm()),
      input_(input),
      messageBoxes_(messageBoxes),
      settings_(settings),
      startup_(startup),
      shortcut_(shortcut),
      chkStp_(*this, ChkStp, nullptr),
      chkShadow_(*this, ChkShadow, [this] { shadowChanged_ = true; }) {}

// Filling from the registry passes over a failing step.
void OptionsDialog::handleLoad() {
    // The boxes show no text of their own: screen readers speak their labels' texts.
    const resources::FormDefinition& form = resources::optionsForm();
    forms().nameControl(window(), ChkStp, form.control(Label1)->caption);
    forms().nameControl(window(), ChkShadow, form.control(Label2)->caption);
    forms().nameControl(window(), HotKey1, form.control(Label3)->caption);
    // Pressed in the box, the shortcut is typed there instead of opening the controller.
    shortcut_.release();
    forms().setControlValue(window(), HotKey1, static_cast<int>(shortcut_.stored()));
    skipOnError([&] { startup_.GetStartupStat(); });
    skipOnError([&] { chkStp_.setValue(startup_.startupStat.value_or(0) == 1 ? 1 : 0); });
    skipOnError([&] { chkShadow_.setValue(settings_.GetShadowStat() == 1 ? 1 : 0); });
    shadowChanged_ = false;
}

void OptionsDialog::handleClick(int controlId) {
    switch (controlId) {
        // A box's label switches it too, as a check box's own text does.
        case ChkStp:
        case Label1:
            chkStp_.clickedByUser();
            break;
        case ChkShadow:
        case Label2:
            chkShadow_.clickedByUser();
            break;
        case Command1:
            apply();
            break;
        default:
            break;
    }
}

// However the dialog closes, the stored shortcut is registered again.
void OptionsDialog::handleUnload() {
    shortcut_.restore();
}

// The shortcut goes first: a new one the system refuses keeps the dialog open, with nothing
// stored, and the focus in the box for another key. The stored one unchanged never does.
void OptionsDialog::apply() {
    if (!shortcut_.change(static_cast<std::uint32_t>(forms().controlValue(window(), HotKey1)),
                          window())) {
        input_.focusControl(window(), HotKey1);
        return;
    }
    if (chkStp_.value() == 1) {
        startup_.setStartupOn();
    } else if (chkStp_.value() == 0) {
        startup_.setStartupOff(window());
    }
    if (shadowChanged_) {
        if (chkShadow_.value() == 1) {
            settings_.setShadowOn();
            messageBoxes_.messageBox(window(), kShadowOnLater, kAppTitle, kMbOk);
        } else if (chkShadow_.value() == 0) {
            settings_.setShadowOff();
            messageBoxes_.messageBox(window(), kShadowOffLater, kAppTitle, kMbOk);
        }
    }
    unload();
}

}  // namespace qmx::settings
