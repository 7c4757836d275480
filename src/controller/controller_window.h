#pragma once

#include <cstdint>
#include <string>

#include "common/program_end.h"
#include "mixer/mixer_access.h"
#include "ui/controls.h"

namespace qmx::controller {

// The controller window (Form1): the knob, the percent label and the mute box over the master
// volume. It is created afresh each time it is shown.
class ControllerWindow : public ui::Form {
public:
    ControllerWindow(platform::WindowSystem& windows, mixer::MixerAccess& mixer,
                     ui::TextBox& loadedSignal);

    // Finds the master line's control whose type `mixcontroltype` holds as decimal text, and
    // records the mixer's name.
    void GetCoreComponents(const std::string& mixcontroltype);
    // Reads the volume and shows it: knob position and percent label.
    void GetVolume();
    // Writes the level for knob step `setvollevel`.
    void setVolume(const std::int32_t& setvollevel);
    // Writes the mute box's state to the mute control.
    void setMute();

    ui::CheckBox& chkmute() { return chkmute_; }
    ui::PictureBox& knob() { return knob_; }
    ui::Label& volumeLabel() { return label2_; }
    const mixer::MixerRecords& records() const { return records_; }

protected:
    void handleLoad() override;
    void handleUnload() override;
    void handleClick(int controlId) override;

private:
    void chkmuteClick();
    template <typename Step>
    void setUpStep(Step step);

    mixer::MixerAccess& mixer_;
    ui::TextBox& loadedSignal_;
    mixer::MixerRecords records_;
    ui::Label label2_;
    ui::PictureBox knob_;
    ui::CheckBox chkmute_;
};

}  // namespace qmx::controller
