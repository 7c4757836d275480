#pragma once

#include "settings/settings_store.h"
#include "settings/startup_entry.h"
#include "ui/controls.h"

namespace qmx::settings {

// The Options dialog (Form4): start with Windows and the controller's shadow. Apply stores both
// and closes it; any other way of closing stores nothing.
class OptionsDialog : public ui::Form {
public:
    OptionsDialog(platform::WindowSystem& windows, SettingsStore& settings, StartupEntry& startup);

    ui::CheckBox& chkStp() { return chkStp_; }
    ui::CheckBox& chkShadow() { return chkShadow_; }
    bool shadowChanged() const { return shadowChanged_; }
    void apply();

protected:
    void handleLoad() override;
    void handleClick(int controlId) override;

private:
    SettingsStore& settings_;
    StartupEntry& startup_;
    ui::CheckBox chkStp_;
    ui::CheckBox chkShadow_;
    bool shadowChanged_ = false;
};

}  // namespace qmx::settings
