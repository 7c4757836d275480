#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/program_end.h"
#include "controller/system_programs.h"
#include "controller/window_styling.h"
#include "mixer/mixer_access.h"
#include "platform/shell.h"
#include "settings/settings_store.h"
#include "ui/controls.h"
#include "ui/wheel_steps.h"

namespace qmx::controller {

// The controller window (Form1): the knob, the percent label and the mute box over the master
// volume, in the Vista or the Classic skin. It is created afresh each time it is shown; its
// set-up shapes and places it and reads the volume.
class ControllerWindow : public ui::Form {
public:
    ControllerWindow(const ui::WindowServices& services, platform::MessageBoxes& messageBoxes,
                     SystemPrograms& programs, mixer::MixerAccess& mixer,
                     settings::SettingsStore& settings, WindowStyling& styling,
                     ui::TextBox& txtform1signal);

    // Tells where on the screen another window takes the wheel itself (the tray icon while it
    // watches the pointer), so that the focused controller leaves those notches alone.
    void setWheelTakenAt(std::function<bool(int x, int y)> takenAt) {
        wheelTakenAt_ = std::move(takenAt);
    }
    // Told when the user closes the window with Esc.
    void setClosedWithEscape(std::function<void()> closed) {
        closedWithEscape_ = std::move(closed);
    }
    // Closes the window as its close button does: it stops following the volume and fades out.
    void close() { startFadeOut(true); }
    bool fading() const { return timer1_.enabled(); }
    // A fade-out stops: the window stands opaque again and follows the volume.
    void stopFadeOut();

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
    bool knobDragging() const { return knobDragging_; }
    std::int16_t fadeAlpha() const { return fadeAlpha_; }

protected:
    void handleLoad() override;
    void handleUnload() override;
    void handleClick(int controlId) override;
    void handleDoubleClick(int controlId) override;
    void handlePointerDown(int controlId, int button, float x, float y) override;
    void handlePointerMove(int controlId, int buttons, float x, float y) override;
    void handlePointerUp(int controlId, int button, float x, float y) override;
    void handlePointerCaptureLost(int controlId) override;
    void handleKey(platform::Key key, bool repeated) override;
    void handleWheel(int delta, int x, int y) override;
    void handleDpiChanged(int dpi) override;

private:
    void chkmuteClick();
    void shapeWindow();
    void shapeKnob();
    // Pointer handling.
    void endPointerGesture(int controlId);
    void changeVolumeBy(int percent);
    void backgroundMove(int buttons, float x, float y);
    void knobMove(float y);
    void trackMove(float y);
    void moveKnobTo(float top);
    void dragHandlerTick();
    bool windowMoved();
    // Buttons and fade-out.
    void startFadeOut(bool stopFollowingVolume);
    void fadeStep();

    platform::MessageBoxes& messageBoxes_;
    SystemPrograms& programs_;
    mixer::MixerAccess& mixer_;
    settings::SettingsStore& settings_;
    WindowStyling& styling_;
    ui::TextBox& txtform1signal_;  // the tray host's: "1" while this window is loaded
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
    bool knobDragging_ = false;
    std::int32_t knobGrabY_ = 0;
    std::uint32_t dragDevice_ = 0;  // the mixer's device in use when the knob was grabbed
    float formGrabX_ = 0;
    float formGrabY_ = 0;
    std::int16_t fadeAlpha_ = 255;
    std::int32_t workRight_ = 0;
    std::int32_t workBottom_ = 0;
    ui::WheelSteps wheel_;
    std::function<bool(int x, int y)> wheelTakenAt_;
    std::function<void()> closedWithEscape_;
    std::int32_t announcedPercent_ = -1;  // what screen readers were last told
};

}  // namespace qmx::controller
