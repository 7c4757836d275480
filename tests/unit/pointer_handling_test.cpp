#include "controller_harness.h"

namespace qmx::testing {
namespace {

using namespace resources::controller;
using platform::kLeftButton;
using platform::kMiddleButton;
using platform::kRightButton;

class KnobDrag : public ControllerTest {};

TEST_F(KnobDrag, FollowsThePointerAndSnapsToTheGrid) {
    fake.mixer.volume = 65535;
    controller().GetVolume();
    press(Knob, kLeftButton, 7, 140.4f);  // grabbed 140 twips below the knob's top
    move(Knob, kLeftButton, 7, 140 + 700);
    // 470 + 700 = 1170 is step 50.7 -> 51: level 32112, 49 percent, knob at 1173.8.
    EXPECT_EQ(fake.mixer.volume, 32112u);
    EXPECT_EQ(controller().volumeLabel().caption(), "49");
    EXPECT_EQ(controller().knob().top(), 1173.8f);
    EXPECT_TRUE(controller().knobDragging());
    release(Knob, kLeftButton, 7, 840);
    EXPECT_FALSE(controller().knobDragging());
    move(Knob, 0, 7, 1200);
    EXPECT_EQ(controller().knob().top(), 1173.8f);
}

TEST_F(KnobDrag, EndsWhenAnotherWindowTakesThePointerAway) {
    fake.mixer.volume = 32768;
    controller().GetVolume();
    const float knobTop = controller().knob().top();
    press(Knob, kLeftButton, 7, 100);
    fake.windows.deliver(window(), [](auto& e) { e.onPointerCaptureLost(Knob); });
    EXPECT_FALSE(controller().knobDragging());
    move(Knob, 0, 7, 900);  // mere hovering later
    EXPECT_EQ(controller().knob().top(), knobTop);
    EXPECT_EQ(fake.mixer.volume, 32768u);
}

TEST_F(KnobDrag, AtTheTopAMoveThatDoesNotGoDownEndsTheDrag) {
    fake.mixer.volume = 65535;
    controller().GetVolume();
    press(Knob, kLeftButton, 7, 100);
    move(Knob, kLeftButton, 7, 100);
    EXPECT_FALSE(controller().knobDragging());
    EXPECT_EQ(controller().knob().top(), 470.0f);
    EXPECT_EQ(fake.mixer.volume, 65535u);
    move(Knob, kLeftButton, 7, 600);  // no press since: nothing moves
    EXPECT_EQ(controller().knob().top(), 470.0f);
}

TEST_F(KnobDrag, AboveTheTopStopsAt470AndEndsTheDrag) {
    fake.mixer.volume = 32768;
    controller().GetVolume();
    press(Knob, kLeftButton, 7, 100);
    move(Knob, kLeftButton, 7, -2000);
    EXPECT_EQ(controller().knob().top(), 470.0f);
    EXPECT_EQ(fake.mixer.volume, 65535u);
    EXPECT_FALSE(controller().knobDragging());
}

TEST_F(KnobDrag, BelowTheBottomStopsAt1845WritesSilenceAndRestsAt1850) {
    fake.mixer.volume = 32768;
    controller().GetVolume();
    press(Knob, kLeftButton, 7, 100);
    move(Knob, kLeftButton, 7, 5000);
    EXPECT_EQ(fake.mixer.volume, 0u);
    EXPECT_EQ(controller().knob().top(), 1850.0f);
    EXPECT_EQ(controller().volumeLabel().caption(), "0");
    EXPECT_FALSE(controller().knobDragging());
}

TEST_F(KnobDrag, RightAndMiddleButtonsDragToo) {
    for (int button : {kRightButton, kMiddleButton}) {
        fake.mixer.volume = 65535;
        controller().GetVolume();
        press(Knob, button, 7, 0);
        move(Knob, button, 7, 690);  // 470 + 690 = 1160: step 50
        EXPECT_EQ(controller().volumeLabel().caption(), "50") << button;
        release(Knob, button, 7, 690);
    }
}

TEST_F(KnobDrag, AClickOnTheKnobClearsTheWindowMovedFlag) {
    controller().txtdetect().setText("1");
    leftClick(Knob);
    EXPECT_EQ(controller().txtdetect().text(), "0");
}

class TrackJump : public ControllerTest {};

TEST_F(TrackJump, AClickThenAMoveJumpsTheKnobOnce) {
    leftClick(Track);
    EXPECT_TRUE(controller().trackClicked());
    move(Track, 0, 100, 1000);
    EXPECT_EQ(fake.mixer.volume, 33423u);
    EXPECT_EQ(controller().knob().top(), 1146.2f);
    EXPECT_EQ(controller().volumeLabel().caption(), "51");
    EXPECT_FALSE(controller().trackClicked());
    fake.mixer.volume = 100;
    move(Track, 0, 100, 200);  // one jump per click
    EXPECT_EQ(fake.mixer.volume, 100u);
}

TEST_F(TrackJump, ClampsToTheTravel) {
    leftClick(Track);
    move(Track, 0, 100, 319);
    EXPECT_EQ(fake.mixer.volume, 65535u);
    EXPECT_EQ(controller().knob().top(), 470.0f);
    leftClick(Track);
    move(Track, 0, 100, 1680);  // the very bottom: 1830 is step 98.55 -> 99
    EXPECT_EQ(controller().volumeLabel().caption(), "1");
}

TEST_F(TrackJump, AClickWithoutAMoveChangesNothing) {
    fake.mixer.volume = 12345;
    fake.log.calls.clear();
    leftClick(Track);
    for (const auto& call : fake.log.calls)
        EXPECT_EQ(call.rfind("mixer.set", 0), std::string::npos);
    release(Track, kLeftButton, 0, 0);
    EXPECT_FALSE(controller().trackClicked());
}

class WindowMove : public ControllerTest {};

TEST_F(WindowMove, TheWindowFollowsTheLeftButtonOnly) {
    const auto* w = form1();
    const float left = w->leftTwips, top = w->topTwips;
    move(platform::kFormItself, 0, 300, 450);
    move(platform::kFormItself, kRightButton, 600, 900);
    EXPECT_EQ(w->leftTwips, left);
    EXPECT_EQ(controller().txtdetect().text(), "0");
    move(platform::kFormItself, kLeftButton | kRightButton, 600, 900);
    EXPECT_EQ(w->leftTwips, left);
    move(platform::kFormItself, kLeftButton, 600, 900);
    EXPECT_EQ(w->leftTwips, left + 300);
    EXPECT_EQ(w->topTwips, top + 450);
    EXPECT_EQ(controller().txtdetect().text(), "1");
    // No bounds: far off the screen is allowed.
    move(platform::kFormItself, kLeftButton, -90000, 300);
    EXPECT_EQ(w->leftTwips, left + 300 - 90300);
}

TEST_F(WindowMove, TheVistaCloseButtonWaitsForTheDragHandlersTick) {
    move(platform::kFormItself, 0, 300, 450);
    move(platform::kFormItself, kLeftButton, 400, 450);
    release(platform::kFormItself, kLeftButton, 400, 450);
    fake.timers.advance(499);
    leftClick(Image6);
    EXPECT_FALSE(controller().timer1().enabled());
    EXPECT_TRUE(controller().tmrsyncvol().enabled());
    fake.timers.advance(1);
    EXPECT_EQ(controller().txtdetect().text(), "0");
    EXPECT_FALSE(controller().tmrDragHandler().enabled());
    leftClick(Image6);
    EXPECT_TRUE(controller().timer1().enabled());
    EXPECT_FALSE(controller().tmrsyncvol().enabled());
}

TEST_F(WindowMove, TheDragHandlerKeepsTickingWhileTheFlagIsClear) {
    release(platform::kFormItself, kLeftButton, 0, 0);
    fake.timers.advance(1500);
    EXPECT_TRUE(controller().tmrDragHandler().enabled());
    move(platform::kFormItself, kLeftButton, 10, 10);
    fake.timers.advance(500);
    EXPECT_FALSE(controller().tmrDragHandler().enabled());
    EXPECT_EQ(controller().txtdetect().text(), "0");
}

TEST_F(WindowMove, TheVistaCloseButtonLightsUpUnderThePointer) {
    EXPECT_EQ(form1()->pictures.at(Image6), platform::PictureId::VistaClose);  // as designed
    move(Image6, 0, 10, 10);
    EXPECT_EQ(controller().image6().picture(), platform::PictureId::VistaCloseHighlighted);
    move(Label2, 0, 10, 10);  // other controls leave it lit
    EXPECT_EQ(controller().image6().picture(), platform::PictureId::VistaCloseHighlighted);
    move(platform::kFormItself, 0, 10, 10);
    EXPECT_EQ(controller().image6().picture(), platform::PictureId::VistaClose);
    move(Image6, 0, 10, 10);
    move(ChkMute, 0, 10, 10);
    EXPECT_EQ(form1()->pictures.at(Image6), platform::PictureId::VistaClose);
}

}  // namespace
}  // namespace qmx::testing
