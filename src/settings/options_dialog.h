#pragma once

#include "settings/settings_store.h"
#include "settings/shortcut_key.h"
#include "settings/startup_entry.h"
#include "ui/controls.h"

namespace qmx::settings {

// The Options dialog (Form4): start with Windows, the controller's shadow and the shortcut that
// opens the controller. Apply stores them and closes it, unless the system refuses a new
// shortcut; any other way of closing stores nothing.
class OptionsDialog : public ui::Form {
public:
    OptionsDialog(const ui::WindowServices& services, platform::Input& input,
                  platform::MessageBoxes& messageBoxes, SettingsStore& settings,
                  StartupEntry& startup, ShortcutKey& shortcut);

    ui::CheckBox& chkStp() { return chkStp_; }
    ui::CheckBox& chkShadow() { return chkShadow_; }
    bool shadowChanged() const { return shadowChanged_; }
    void apply();

protected:
    void handleLoad() override;
    void handleUnload() override;
    void handleClick(int controlId) override;

private:
    platform::Input& input_;
    platform::MessageBoxes& messageBoxes_;
    SettingsStore& settings_;
    StartupEntry& startup_;
    ShortcutKey& shortcut_;
    ui::CheckBox chkStp_;
    ui::CheckBox chkShadow_;
    bool shadowChanged_ = false;
};

}  // namespace qmx::settings
