#include "controller_harness.h"

namespace qmx::testing {
namespace {

using namespace resources::controller;

class Buttons : public ControllerTest {};

TEST_F(Buttons, TheVolumeButtonStartsTheSystemsVolumeControlByVersion) {
    const std::tuple<std::uint32_t, std::uint32_t, const char*> cases[] = {
        {6, 2, "\"C:\\Windows\\system32\\SndVol.exe\""},
        {5, 2, "\"C:\\Windows\\system32\\sndvol32.exe\""},
        {10, 2, "\"C:\\Windows\\system32\\sndvol32.exe\""},
        {4, 2, "\"C:\\Windows\\system32\\sndvol32.exe\""}};
    for (auto [major, platformId, command] : cases) {
        fake.system.osVersion = {major, 0, 0, platformId};
        leftClick(Image4);
        EXPECT_EQ(fake.shell.started.back(), command);
        EXPECT_EQ(app.os().osMajor, major);
    }
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

TEST_F(Buttons, AVolumeControlThatCannotStartIsReportedWithTheSystemsDescription) {
    fake.shell.startError = 2;
    leftClick(Image4);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text,
              "Unable to open Windows Volume Control File not found.");
    EXPECT_EQ(fake.messageBoxes.shown[0].flags, 0x30u);
    EXPECT_EQ(fake.messageBoxes.shown[0].caption, "Velto Volume Controller 4.0");
    EXPECT_EQ(fake.messageBoxes.shown[0].owner, window());  // modal to the controller
    EXPECT_TRUE(controller().loaded());
}

TEST_F(Buttons, TheAudioPropertiesButtonStartsTheSoundControlPanel) {
    leftClick(Image3);
    EXPECT_EQ(fake.shell.started.back(),
              "\"C:\\Windows\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL mmsys.cpl");
    fake.shell.startError = 5;
    leftClick(Image3);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text, "Unable to open Audio properties. Error 5");
}

TEST_F(Buttons, ADoubleClickOnAudioPropertiesOpensThemOnceAndClosesAtOnce) {
    leftClick(Image3);
    doubleClick(Image3);
    EXPECT_EQ(fake.shell.started.size(), 1u);
    EXPECT_FALSE(controller().loaded());
    EXPECT_EQ(app.trayHost().txtform1signal().text(), "0");
    EXPECT_EQ(form1(), nullptr);
}

TEST_F(Buttons, ASingleClickOnTheBackgroundDoesNothing) {
    fake.log.calls.clear();
    leftClick(platform::kFormItself);
    EXPECT_FALSE(controller().timer1().enabled());
    EXPECT_TRUE(controller().tmrsyncvol().enabled());
}

class FadeOut : public ControllerTest {};

TEST_F(FadeOut, TheClassicCloseButtonFadesOverEightyFourStepsThenUnloads) {
    leftClick(Image5);
    EXPECT_FALSE(controller().tmrsyncvol().enabled());
    std::vector<int> opacities;
    const auto id = window();
    for (int tick = 0; tick < 84; ++tick) {
        fake.timers.advance(10);
        ASSERT_NE(form1(), nullptr) << "tick " << tick;
        opacities.push_back(form1()->alpha);
        // Layered, and still a tool window: a fading controller stays out of Alt+Tab.
        EXPECT_EQ(form1()->extendedStyle, platform::kWsExLayered | platform::kWsExToolWindow);
        EXPECT_EQ(form1()->layeredFlags, platform::kLwaAlpha);
    }
    EXPECT_EQ(opacities.front(), 252);
    EXPECT_EQ(opacities[1], 249);
    EXPECT_EQ(opacities.back(), 3);
    fake.timers.advance(10);
    EXPECT_EQ(fake.windows.windows.count(id), 0u);
    EXPECT_EQ(app.trayHost().txtform1signal().text(), "0");
}

TEST_F(FadeOut, TheWindowIsOpaqueAndNotLayeredUntilTheFirstTick) {
    leftClick(Image5);
    EXPECT_EQ(form1()->alpha, -1);
    EXPECT_EQ(form1()->extendedStyle & platform::kWsExLayered, 0u);
    leftClick(Image5);  // starting it again changes nothing
    fake.timers.advance(10);
    EXPECT_EQ(form1()->alpha, 252);
}

TEST_F(FadeOut, ABackgroundDoubleClickFadesWhileTheKnobKeepsFollowingTheVolume) {
    fake.mixer.volume = 65535;
    doubleClick(platform::kFormItself);
    EXPECT_TRUE(controller().timer1().enabled());
    EXPECT_TRUE(controller().tmrsyncvol().enabled());
    fake.mixer.volume = 0;
    fake.timers.advance(100);
    EXPECT_EQ(controller().volumeLabel().caption(), "0");
    EXPECT_LT(form1()->alpha, 255);
}

TEST_F(FadeOut, ATrayClickDuringTheFadeOpensAFreshOpaqueController) {
    leftClick(Image5);
    fake.timers.advance(300);
    openFromTray();
    EXPECT_EQ(form1()->alpha, -1);
    EXPECT_EQ(controller().fadeAlpha(), 255);
    EXPECT_FALSE(controller().timer1().enabled());
    EXPECT_TRUE(controller().tmrsyncvol().enabled());
}

class FollowingOutsideChanges : public ControllerTest {};

TEST_F(FollowingOutsideChanges, VolumeAndMuteChangesReachTheOpenController) {
    fake.mixer.volume = 65535;
    fake.timers.advance(10);
    EXPECT_EQ(controller().volumeLabel().caption(), "100");
    fake.mixer.volume = 16384;
    fake.timers.advance(10);
    EXPECT_EQ(controller().volumeLabel().caption(), "25");
    EXPECT_EQ(controller().knob().top(), 1505.0f);
    fake.mixer.mute = 1;
    fake.timers.advance(100);
    EXPECT_EQ(controller().chkmute().value(), 1);
    EXPECT_EQ(lastTrayData().icon, platform::IconId::TrayMuted);
}

TEST_F(FollowingOutsideChanges, AnUnchangedVolumeReadsTheMixerButTouchesNoWindow) {
    fake.mixer.volume = 32768;
    fake.timers.advance(10);
    fake.log.calls.clear();
    fake.timers.advance(100);
    EXPECT_EQ(fake.log.count("mixer.get 7"), 10);
    for (const auto& call : fake.log.calls) {
        EXPECT_EQ(call.rfind("windows.", 0), std::string::npos) << call;
    }
    fake.mixer.volume = 0;
    fake.timers.advance(10);
    EXPECT_EQ(fake.log.count("windows.move Form1 " + std::to_string(Knob)), 1);
    EXPECT_EQ(fake.log.count("windows.setText Form1 " + std::to_string(Label2)), 1);
}

TEST_F(FollowingOutsideChanges, AClosedControllerFollowsNothingAndReadsAfreshWhenOpened) {
    leftClick(Image5);
    fake.timers.advance(1000);
    ASSERT_FALSE(controller().loaded());
    fake.log.calls.clear();
    fake.mixer.volume = 0;
    fake.timers.advance(1000);
    EXPECT_EQ(fake.log.count("mixer.get 7"), 0);
    openFromTray();
    EXPECT_EQ(controller().volumeLabel().caption(), "0");
}

}  // namespace
}  // namespace qmx::testing
