// The controller's keys and wheel, the wheel over the tray icon, and what screen readers hear.
#include "controller/display_model.h"
#include "controller_harness.h"
#include "ui/wheel_steps.h"

namespace qmx::testing {
namespace {

using namespace resources::controller;
using platform::Key;

class KeysAndWheel : public ControllerTest {
protected:
    void showPercent(int percent) {
        fake.mixer.volume = controller::levelForKnobStep(100 - percent);
        controller().GetVolume();
    }
    void press(Key key, bool repeated = false) {
        fake.windows.deliver(window(), [=](auto& e) { e.onKey(key, repeated); });
    }
    void wheel(int delta, int x = 500, int y = 500) {
        fake.windows.deliver(window(), [=](auto& e) { e.onWheel(delta, x, y); });
    }
    std::string label() { return controller().volumeLabel().caption(); }
};

TEST_F(KeysAndWheel, EachVolumeKeyMovesTheKnobOnItsGridWithinTheLimits) {
    struct Case {
        Key key;
        int from;
        int to;
    };
    for (const Case& c : {Case{Key::Up, 50, 51},
                          {Key::Right, 50, 51},
                          {Key::Down, 50, 49},
                          {Key::Left, 50, 49},
                          {Key::PageUp, 50, 60},
                          {Key::PageDown, 50, 40},
                          {Key::Home, 37, 100},
                          {Key::End, 37, 0},
                          {Key::Up, 100, 100},
                          {Key::PageUp, 95, 100},
                          {Key::PageDown, 5, 0},
                          {Key::Down, 0, 0}}) {
        showPercent(c.from);
        press(c.key);
        EXPECT_EQ(label(), std::to_string(c.to)) << "from " << c.from;
        EXPECT_EQ(controller().knob().top(), controller::knobTopForPercent(c.to));
        EXPECT_EQ(fake.mixer.volume, controller::levelForKnobStep(100 - c.to));
    }
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

TEST_F(KeysAndWheel, MAndSpaceToggleTheMuteBoxAndEscFadesOut) {
    press(Key::M);
    EXPECT_EQ(controller().chkmute().value(), 1);
    EXPECT_EQ(fake.mixer.mute, 1u);
    press(Key::Space);
    EXPECT_EQ(controller().chkmute().value(), 0);
    EXPECT_EQ(fake.mixer.mute, 0u);
    press(Key::Other);
    EXPECT_FALSE(controller().timer1().enabled());
    press(Key::Escape);
    EXPECT_TRUE(controller().timer1().enabled());
    EXPECT_FALSE(controller().tmrsyncvol().enabled());
}

// Holding a key down: the keyboard repeats it. The mute box switches once for a held M or Space;
// a held volume key keeps moving the volume.
TEST_F(KeysAndWheel, AHeldMuteKeySwitchesOnceAndAHeldVolumeKeyRepeats) {
    for (Key key : {Key::M, Key::Space}) {
        const int before = controller().chkmute().value();
        press(key);
        for (int repeat = 0; repeat < 11; ++repeat) press(key, true);
        EXPECT_EQ(controller().chkmute().value(), 1 - before);
        EXPECT_EQ(fake.mixer.mute, static_cast<std::uint32_t>(1 - before));
    }
    showPercent(50);
    press(Key::Up);
    for (int repeat = 0; repeat < 5; ++repeat) press(Key::Up, true);
    EXPECT_EQ(label(), "56");
}

TEST_F(KeysAndWheel, ANotchIsTwoStepsAndFinerTurnsAddUp) {
    showPercent(50);
    wheel(120);
    EXPECT_EQ(label(), "52");
    wheel(-240);
    EXPECT_EQ(label(), "48");
    for (int i = 0; i < 3; ++i) wheel(40);  // a touchpad's notch in three parts
    EXPECT_EQ(label(), "50");
    wheel(20);  // a sixth of a notch: not yet a step
    EXPECT_EQ(label(), "50");
    showPercent(99);
    wheel(120);
    EXPECT_EQ(label(), "100");
}

TEST(WheelSteps, CountsTwoStepsANotchAndKeepsTheRest) {
    struct Case {
        std::vector<int> deltas;
        int steps;  // in all
    };
    for (const Case& c : {Case{{120}, 2},
                          {{-120}, -2},
                          {{30, 30, 30, 30}, 2},
                          {{59}, 0},
                          {{60}, 1},
                          {{90, 90}, 3},
                          {{120, -60}, 1},
                          {{-30, -30, -30}, -1}}) {
        ui::WheelSteps wheel;
        int steps = 0;
        for (int delta : c.deltas) steps += wheel.add(delta);
        EXPECT_EQ(steps, c.steps);
    }
}

// The knob has the focus after opening, so that the value changes screen readers hear belong to
// the control they are on.
TEST_F(KeysAndWheel, ScreenReadersFindTheFocusOnTheKnobAndHearItAsAVolumeSliderWithItsPercent) {
    EXPECT_EQ(fake.input.focus, std::pair(window(), static_cast<int>(Knob)));
    ASSERT_FALSE(fake.windows.announcements.empty());
    showPercent(50);
    fake.windows.announcements.clear();
    press(Key::Up);
    fake.timers.advance(50);  // follow-up ticks with an unchanged volume say nothing more
    ASSERT_EQ(fake.windows.announcements.size(), 1u);
    const auto& said = fake.windows.announcements[0];
    EXPECT_EQ(
        std::tie(said.window, said.controlId, said.name, said.value),
        std::tuple(window(), static_cast<int>(Knob), std::string("Volume"), std::string("51")));
    EXPECT_EQ(std::pair(said.window, said.controlId), fake.input.focus);
}

class TrayWheel : public KeysAndWheel {
protected:
    void watched(int x, int y, int delta) {
        fake.windows.deliver(hostWindow(), [=](auto& e) { e.onPointerWatched(x, y, delta); });
    }
};

TEST_F(TrayWheel, TheWheelOverTheIconChangesTheVolumeAndStopsWatchingOffIt) {
    showPercent(50);
    EXPECT_EQ(fake.input.pointerWatchedBy, platform::kNoWindow);  // idle: nothing watched
    trayEvent(0x200);                                             // the pointer is on the icon
    EXPECT_EQ(fake.input.pointerWatchedBy, hostWindow());
    watched(1008, 748, 120);
    EXPECT_EQ(fake.mixer.volume, controller::levelForKnobStep(100 - 52));
    fake.timers.advance(10);  // the open controller follows at its next tick
    EXPECT_EQ(label(), "52");
    watched(1008, 760, 0);  // off the icon
    EXPECT_EQ(fake.input.pointerWatchedBy, platform::kNoWindow);
    watched(1008, 748, 120);  // no longer watched: nothing changes
    EXPECT_EQ(fake.mixer.volume, controller::levelForKnobStep(100 - 52));
    // The controller closed, the wheel still works.
    controller().unload();
    trayEvent(0x200);
    watched(1001, 741, -120);
    EXPECT_EQ(fake.mixer.volume, controller::levelForKnobStep(100 - 50));
}

// Ending the watch can fail; the system then still reports the pointer everywhere, and each
// report tries again until the watch is gone. Meanwhile the wheel off the icon changes nothing.
TEST_F(TrayWheel, AWatchThatWouldNotEndIsEndedAtTheNextReport) {
    showPercent(50);
    trayEvent(0x200);
    fake.input.failStopWatching = 2;
    watched(1008, 760, 0);  // off the icon: ending fails
    EXPECT_EQ(fake.input.pointerWatchedBy, hostWindow());
    watched(500, 500, 120);  // fails again, and the wheel here changes nothing
    EXPECT_EQ(fake.input.pointerWatchedBy, hostWindow());
    EXPECT_EQ(fake.mixer.volume, controller::levelForKnobStep(100 - 50));
    watched(500, 500, 0);
    EXPECT_EQ(fake.input.pointerWatchedBy, platform::kNoWindow);
    EXPECT_EQ(fake.log.count("windows.watchPointer off"), 3);
    watched(500, 500, 0);  // gone: nothing more to do
    EXPECT_EQ(fake.log.count("windows.watchPointer off"), 3);
}

// Where the focused window gets the wheel (Windows 7; later ones with "Scroll inactive windows"
// off), a notch with the pointer on the icon reaches both the controller and the watch.
TEST_F(TrayWheel, ANotchIsOneChangeOfTwoStepsWhereverThePointerIs) {
    showPercent(50);
    trayEvent(0x200);
    watched(1008, 748, 120);
    fake.timers.advance(10);  // the controller shows the change
    wheel(120, 1008, 748);    // the same notch, as the focused window hears it
    fake.timers.advance(10);
    EXPECT_EQ(label(), "52");
    wheel(120);  // elsewhere, the focused controller takes it
    EXPECT_EQ(label(), "54");
    watched(1008, 760, 0);  // the watch ends off the icon: the controller takes every notch
    wheel(120, 1008, 748);
    EXPECT_EQ(label(), "56");
}

// The icon's place is the shell's rectangle: its left and top edges are on the icon, its right
// and bottom edges beyond it.
TEST_F(TrayWheel, TheIconsPlaceEndsBeforeItsRightAndBottomEdges) {
    showPercent(50);
    const struct {
        int x, y;
        bool onIcon;
    } points[] = {{1000, 740, true},  {1015, 755, true}, {1016, 748, false},
                  {1008, 756, false}, {999, 748, false}, {1008, 739, false}};
    int percent = 50;
    for (const auto& point : points) {
        SCOPED_TRACE(::testing::Message() << point.x << "," << point.y);
        trayEvent(0x200);
        watched(point.x, point.y, 120);
        if (point.onIcon) percent += 2;
        EXPECT_EQ(fake.mixer.volume, controller::levelForKnobStep(100 - percent));
    }
}

TEST_F(TrayWheel, WithoutTheIconsPlaceTheWheelStaysOff) {
    fake.shell.iconRect.reset();  // Windows XP and Vista cannot tell it
    trayEvent(0x200);
    EXPECT_EQ(fake.log.count("windows.watchPointer on"), 0);
}

}  // namespace
}  // namespace qmx::testing
