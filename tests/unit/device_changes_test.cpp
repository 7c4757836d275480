// Audio outputs that come and go while the program runs: the default output is followed, a lost
// device never ends the program, and only a real failure does.
#include <gtest/gtest.h>

#include "app/application.h"
#include "fakes/fake_audio_endpoints.h"
#include "fakes/fake_platform.h"
#include "mixer/endpoint_mixer.h"
#include "resources/controller_form.h"

namespace qmx::testing {
namespace {

using platform::EndpointStatus;
using platform::IconId;
using namespace resources::controller;

// Runs `action`; the exit code if it ended the program, else -1.
long exitCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const fakes::ProcessExit& exit) {
        return exit.exitCode;
    }
    return -1;
}

// The program over simulated outputs (and the other services simulated as usual).
struct Rig {
    Rig() {
        fake.processes.addProcess(fake.processes.ownId, fake.processes.ownPath);
        fake.registry.createKey(platform::RegistryRoot::CurrentUser,
                                "Software\\Korwen's Software\\Velto Volume Controller\\4.0");
    }
    long start() {
        return exitCodeOf([this] { app.start(); });
    }
    long advance(unsigned ms) {
        return exitCodeOf([&] { fake.windows.advance(ms); });
    }
    void trayEvent(int event) {
        const float x = static_cast<float>(event * fake.system.twipsX);
        fake.windows.deliver(fake.windows.idOf("Form2"), [x](platform::WindowEvents& e) {
            e.onPointerDown(platform::kFormItself, platform::kLeftButton, x, 0);
        });
    }
    IconId trayIcon() const { return fake.shell.trayCalls.back().data.icon; }
    std::string label() { return app.controller().volumeLabel().caption(); }
    // A drag of the knob from where it is down by `twips`.
    void dragKnob(float twips) {
        const auto window = fake.windows.idOf("Form1");
        fake.windows.deliver(window,
                             [](auto& e) { e.onPointerDown(Knob, platform::kLeftButton, 7, 100); });
        fake.windows.deliver(
            window, [=](auto& e) { e.onPointerMove(Knob, platform::kLeftButton, 7, 100 + twips); });
        fake.windows.deliver(
            window, [=](auto& e) { e.onPointerUp(Knob, platform::kLeftButton, 7, 100 + twips); });
    }

    fakes::FakePlatform fake;
    fakes::FakeAudioEndpoints outputs;
    mixer::EndpointMixer mixer{outputs};
    platform::Platform platform{mixer,      fake.processes, fake.registry, fake.system,
                                fake.shell, fake.windows,   fake.sound};
    app::Application app{platform};
};

class DeviceChanges : public ::testing::Test, protected Rig {};

TEST_F(DeviceChanges, UnpluggingTheDefaultWhileIdleFollowsTheNewDefaultWithinOnePoll) {
    for (bool notified : {true, false}) {
        SCOPED_TRACE(notified ? "with the system's notification" : "without a notification");
        Rig rig;
        rig.outputs.notifications = notified;
        rig.outputs.add("speakers", "Speakers", 0.5f, false);
        rig.outputs.add("headset", "USB Headset", 0.8f, true);
        rig.outputs.setDefault("headset");
        ASSERT_EQ(rig.start(), -1);
        rig.advance(100);
        EXPECT_EQ(rig.trayIcon(), IconId::TrayMuted);
        rig.outputs.remove("headset");
        EXPECT_EQ(rig.advance(100), -1);
        EXPECT_EQ(rig.trayIcon(), IconId::TrayNormal);
        EXPECT_TRUE(rig.fake.windows.messageBoxes.empty());
    }
}

TEST_F(DeviceChanges, TheDefaultSwitchingWhileTheControllerIsOpenIsShownAndWritten) {
    outputs.add("speakers", "Speakers", 0.25f);
    outputs.add("hdmi", "HDMI Monitor", 0.75f);
    ASSERT_EQ(start(), -1);
    trayEvent(0x202);
    EXPECT_EQ(label(), "25");
    outputs.setDefault("hdmi");
    fake.windows.advance(10);  // the follow-up tick
    EXPECT_EQ(label(), "75");
    dragKnob(13.8f * 10);  // ten steps down
    EXPECT_EQ(label(), "65");
    EXPECT_FLOAT_EQ(outputs.devices["hdmi"].scalar, mixer::scalarForLevel(42598));
    EXPECT_FLOAT_EQ(outputs.devices["speakers"].scalar, 0.25f);
    // The About box names the device in use when it opens.
    app.about().show();
    EXPECT_EQ(app.about().lblmanufac().caption().substr(0, 20),
              std::string("Mixer : HDMI Monitor"));
}

TEST_F(DeviceChanges, TheSameDeviceReturningWithItsIdIsActivatedAnew) {
    outputs.add("headset", "USB Headset", 0.5f, false);
    ASSERT_EQ(start(), -1);
    fake.windows.advance(100);
    const int activations = outputs.activations;
    outputs.remove("headset");
    outputs.add("headset", "USB Headset", 0.5f, true);
    EXPECT_EQ(advance(100), -1);
    EXPECT_EQ(outputs.activations, activations + 1);
    EXPECT_EQ(trayIcon(), IconId::TrayMuted);
}

TEST_F(DeviceChanges, WithEveryDeviceGoneItKeepsTheLastStateAndFollowsTheFirstToComeBack) {
    outputs.add("headset", "USB Headset", 0.4f, true);
    ASSERT_EQ(start(), -1);
    trayEvent(0x202);
    fake.windows.advance(100);
    outputs.remove("headset");
    EXPECT_EQ(advance(300), -1);
    EXPECT_EQ(label(), "40");
    EXPECT_EQ(trayIcon(), IconId::TrayMuted);
    EXPECT_EQ(exitCodeOf([&] { dragKnob(13.8f * 20); }), -1);  // nothing to write to: skipped
    EXPECT_EQ(exitCodeOf([&] { app.controller().chkmute().setValue(0); }), -1);
    EXPECT_TRUE(fake.windows.messageBoxes.empty());
    // A controller opened now still shows the last state.
    trayEvent(0x202);
    EXPECT_EQ(label(), "40");

    outputs.add("speakers", "Speakers", 0.9f, false);
    fake.windows.advance(100);
    EXPECT_EQ(label(), "90");
    EXPECT_EQ(trayIcon(), IconId::TrayNormal);
}

TEST_F(DeviceChanges, AFailureThatSurvivesTheRetryWithADevicePresentStillEndsTheProgram) {
    for (auto failure : {EndpointStatus::Failed, EndpointStatus::DeviceGone}) {
        Rig rig;
        rig.outputs.add("speakers", "Speakers");
        ASSERT_EQ(rig.start(), -1);
        rig.outputs.failValueCalls = failure;
        EXPECT_EQ(rig.advance(100), 0);
        ASSERT_EQ(rig.fake.windows.messageBoxes.size(), 1u);
        EXPECT_EQ(rig.fake.windows.messageBoxes[0].text,
                  "Error! Unable to get Mixer Control Details.");
    }
}

TEST_F(DeviceChanges, StartingWithNoOutputDeviceShowsTheMessageAndEnds) {
    EXPECT_EQ(start(), 0);
    ASSERT_FALSE(fake.windows.messageBoxes.empty());
    EXPECT_EQ(fake.windows.messageBoxes[0].text,
              "Error! Unable to open a Mixer Device. Program will be terminated.");
}

TEST(EndpointLevels, EveryMixerLevelSurvivesTheRoundTripThroughTheScalar) {
    for (std::uint32_t level = 0; level <= 65535; ++level) {
        const float scalar = mixer::scalarForLevel(level);
        ASSERT_GE(scalar, 0.0f);
        ASSERT_LE(scalar, 1.0f);
        ASSERT_EQ(mixer::levelForScalar(scalar), level) << "level " << level;
    }
    EXPECT_EQ(mixer::levelForScalar(-0.1f), 0u);
    EXPECT_EQ(mixer::levelForScalar(1.5f), 65535u);
}

}  // namespace
}  // namespace qmx::testing
