#pragma once

#include <cstdint>
#include <string>

#include "common/program_end.h"
#include "controller/window_styling.h"
#include "mixer/mixer_access.h"
#include "platform/system.h"
#include "settings/settings_store.h"
#include "ui/controls.h"

namespace qmx::controller {

// The controller window (Form1): the knob, the percent label and the mute box over the master
// volume, in the Vista or the Classic skin. It is created afresh each time it is shown; its
// set-up shapes and places it and reads the volume.
class ControllerWindow : public ui::Form {
  public:
    ControllerWindow(platform::WindowSystem& windows, platform::System& system,
                     mixer::MixerAccess& mixer, settings::SettingsStore& settings,
                     WindowStyling& styling, ui::TextBox& loadedSignal);

    // Finds the master line's control whose type `mixcontroltype` holds as decimal text, and
    // records the mixer's name.
    void GetCoreComponents(const std::string& mixcontroltype);
    // Reads the volume and shows it: knob position and percent label.
    void GetVolume();
    // Writes the level for knob step `setvollevel`.
    void setVolume(const std::int32_t& setvollevel);
    // Writes the mute box's state to the mute control.
    void setMute();
    // Background, close button and mute-box position of one skin.
    void applySkin(bool vista);
    // Shows the window (loading it first when it is not loaded).
    void show();

    ui::CheckBox& chkmute() { return chkmute_; }
    ui::Picture& knob() { return knob_; }
    ui::Label& volumeLabel() { return label2_; }
    ui::Picture& image5() { return image5_; }
    ui::Picture& image6() { return image6_; }
    ui::TextBox& txtdetect() { return txtdetect_; }
    ui::Timer& tmrsyncvol() { return tmrsyncvol_; }
    ui::Timer& timer1() { return timer1_; }
    ui::Timer& tmrDragHandler() { return tmrDragHandler_; }
    const mixer::MixerRecords& records() const { return records_; }
    bool trackClicked() const { return trackClicked_; }
    std::int16_t fadeAlpha() const { return fadeAlpha_; }
    std::int32_t workRight() const { return workRight_; }
    std::int32_t workBottom() const { return workBottom_; }

  protected:
    void handleLoad() override;
    void handleUnload() override;
    void handleClick(int controlId) override;

  private:
    void chkmuteClick();
    template <typename Step>
    void setUpStep(Step step);

    platform::System& system_;
    mixer::MixerAccess& mixer_;
    settings::SettingsStore& settings_;
    WindowStyling& styling_;
    ui::TextBox& loadedSignal_;
    mixer::MixerRecords records_;

    ui::Picture image4_;
    ui::Picture image3_;
    ui::Label label2_;
    ui::Picture knob_;
    ui::Picture track_;
    ui::CheckBox chkmute_;
    ui::Picture image6_;
    ui::Picture image5_;
    ui::TextBox txtdetect_;
    ui::Timer tmrDragHandler_;
    ui::Timer timer1_;
    ui::Timer tmrsyncvol_;

    bool trackClicked_ = false;
    std::int16_t fadeAlpha_ = 255;
    std::int32_t workRight_ = 0;
    std::int32_t workBottom_ = 0;
};

}  // namespace qmx::controller
