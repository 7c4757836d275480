#include "app_harness.h"
#include "mixer/mixer_messages.h"
#include "resources/controller_form.h"

namespace qmx::testing {
namespace {

using resources::controller::Knob;
using resources::controller::Label2;

class MixerOperations : public AppTest {
protected:
    void SetUp() override {
        ASSERT_EQ(start(), -1);
        app.controller().load();
    }
    controller::ControllerWindow& controller() { return app.controller(); }
    platform::WindowId controllerWindow() { return fake.windows.idOf("Form1"); }
};

TEST_F(MixerOperations, GetVolumeShowsTheLevelOnKnobAndLabel) {
    const std::tuple<std::uint32_t, float, const char*> cases[] = {
        {65535, 470.0f, "100"}, {0, 1850.0f, "0"}, {32767, 1160.0f, "50"}, {328, 1836.2f, "1"}};
    for (auto [level, top, text] : cases) {
        fake.mixer.volume = level;
        controller().GetVolume();
        EXPECT_EQ(controller().knob().top(), top);
        EXPECT_EQ(controller().volumeLabel().caption(), text);
        const auto* window = fake.windows.find("Form1");
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->texts.at(Label2), text);
        EXPECT_EQ(window->tops.at(Knob), top);
    }
}

TEST_F(MixerOperations, SetVolumeWritesTheLevelForTheKnobStepAndReadsBackOnTheGrid) {
    for (int step = 0; step <= 100; ++step) {
        controller().setVolume(step);
        controller().GetVolume();
        ASSERT_EQ(controller().volumeLabel().caption(), std::to_string(100 - step));
        ASSERT_EQ(controller().knob().top(), static_cast<float>(470 + 13.8 * step));
    }
    controller().setVolume(50);
    EXPECT_EQ(fake.mixer.volume, 32768u);
    controller().setVolume(30);
    EXPECT_EQ(fake.mixer.volume, 45874u);
}

TEST_F(MixerOperations, CheckingTheMuteBoxWritesMuteThenRediscoversTheVolumeControl) {
    fake.log.calls.clear();
    controller().chkmute().setValue(1);
    EXPECT_EQ(fake.mixer.mute, 1u);
    EXPECT_EQ(controller().records().controlInfo.controlId, fake.mixer.volumeControlId);
    const std::vector<std::string> expected = {
        "mixer.open 0", "mixer.lineInfo 4", "mixer.lineControl 536936450", "mixer.set 9 1",
        "mixer.open 0", "mixer.lineInfo 4", "mixer.lineControl 1342373889"};
    EXPECT_EQ(fake.log.calls, expected);

    controller().chkmute().setValue(0);
    EXPECT_EQ(fake.mixer.mute, 0u);
    EXPECT_EQ(controller().records().controlInfo.controlId, fake.mixer.volumeControlId);
}

TEST_F(MixerOperations, SettingTheMuteBoxToItsValueWritesNothing) {
    fake.log.calls.clear();
    controller().chkmute().setValue(0);
    EXPECT_TRUE(fake.log.calls.empty());
}

TEST_F(MixerOperations, EveryDiscoveryClosesTheDeviceItReplaces) {
    // Start-up opened the device for the host's mute control and the controller's volume
    // control; loading the controller again opened it once more.
    EXPECT_EQ(fake.mixer.opens, 3);
    for (int i = 0; i < 50; ++i) controller().chkmute().clickedByUser();
    EXPECT_EQ(fake.mixer.opens, 103);
    EXPECT_EQ(fake.mixer.openDevices, 1);
}

TEST_F(MixerOperations, MixerNameIsTheWhole32CharacterField) {
    const std::string& name = app.mixer().shared().mixerName;
    ASSERT_EQ(name.size(), 32u);
    EXPECT_EQ(name.substr(0, 16), "Fake Audio Mixer");
    EXPECT_EQ(name.substr(16), std::string(16, '\0'));
}

// Each failing mixer call shows its own message (exclamation icon, the title as caption) and
// ends the program with an exit code of that message's own; nothing after it runs.
struct FailureCase {
    const char* name;
    std::uint32_t fakes::FakeMixer::*failure;
    std::function<void(app::Application&)> operation;
    const char* message;
    const char* lastCall;  // the failing call: nothing of the operation may follow it
    long exitCode;
};

class MixerFailures : public MixerOperations, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(MixerFailures, ShowTheirMessageAndEndTheProgram) {
    const FailureCase& c = GetParam();
    fake.mixer.*(c.failure) = 11;
    fake.log.calls.clear();
    const long exitCode = exitCodeOf([&] { c.operation(app); });
    EXPECT_EQ(exitCode, c.exitCode);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text, c.message);
    EXPECT_EQ(fake.messageBoxes.shown[0].caption, "Velto Volume Controller 4.0");
    EXPECT_EQ(fake.messageBoxes.shown[0].flags, 0x30u);
    const std::vector<std::string> tail(fake.log.calls.end() - 4, fake.log.calls.end());
    const std::vector<std::string> expectedTail = {
        c.lastCall, std::string("windows.messageBox ") + c.message, "shell.notifyIcon delete",
        "processes.exit " + std::to_string(c.exitCode)};
    EXPECT_EQ(tail, expectedTail);
}

using A = app::Application;
INSTANTIATE_TEST_SUITE_P(
    EachCall, MixerFailures,
    ::testing::Values(FailureCase{"GetVolume", &fakes::FakeMixer::failGet,
                                  [](A& a) { a.controller().GetVolume(); },
                                  mixer::kVolumeReadFailed, "mixer.get 7", 5},
                      FailureCase{"GetMuteVal", &fakes::FakeMixer::failGet,
                                  [](A& a) { a.trayHost().GetMuteVal(); }, mixer::kMuteReadFailed,
                                  "mixer.get 9", 6},
                      FailureCase{"setVolume", &fakes::FakeMixer::failSet,
                                  [](A& a) { a.controller().setVolume(10); }, mixer::kWriteFailed,
                                  "mixer.set 7 58982", 7},
                      FailureCase{"setMute", &fakes::FakeMixer::failSet,
                                  [](A& a) { a.controller().chkmute().setValue(1); },
                                  mixer::kWriteFailed, "mixer.set 9 1", 7},
                      FailureCase{"Open", &fakes::FakeMixer::failOpen,
                                  [](A& a) { a.controller().GetCoreComponents("1342373889"); },
                                  mixer::kOpenFailed, "mixer.open 0", 1},
                      FailureCase{"LineInfo", &fakes::FakeMixer::failLineInfo,
                                  [](A& a) { a.controller().GetCoreComponents("1342373889"); },
                                  mixer::kLineInfoFailed, "mixer.lineInfo 4", 2},
                      FailureCase{"LineControls", &fakes::FakeMixer::failLineControls,
                                  [](A& a) { a.controller().GetCoreComponents("536936450"); },
                                  mixer::kLineControlsFailed, "mixer.lineControl 536936450", 3}),
    [](const auto& info) { return std::string(info.param.name); });

// Windows XP: a sound card unplugged under an open legacy mixer. Each value call reopens device 0
// once and goes on with the device found there.
TEST_F(MixerOperations, AValueCallWhoseDeviceVanishedReopensDeviceZeroOnce) {
    const std::vector<std::pair<const char*, std::function<void()>>> calls{
        {"volume read", [this] { controller().GetVolume(); }},
        {"mute poll", [this] { fake.timers.advance(100); }},
        {"volume write", [this] { controller().setVolume(10); }},
        {"mute write",
         [this] { controller().chkmute().setValue(1 - controller().chkmute().value()); }},
    };
    for (const auto& [name, call] : calls) {
        fake.mixer.vanishOpenDevices();
        const int opens = fake.mixer.opens;
        EXPECT_EQ(exitCodeOf(call), -1) << name;
        EXPECT_GE(fake.mixer.opens, opens + 1) << name;
        EXPECT_EQ(fake.mixer.openDevices, 1) << name;  // the vanished one was closed
    }
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    EXPECT_EQ(fake.mixer.volume, 58982u);
}

// The successor numbers its controls differently (here the other way round): whichever window
// reopens device 0 first, the other one's next call uses the successor's controls too.
TEST_F(MixerOperations, AfterAReopenBothWindowsUseTheSuccessorsControls) {
    for (bool controllerFirst : {true, false}) {
        SCOPED_TRACE(controllerFirst ? "the controller reopens" : "the mute poll reopens");
        fake.mixer.vanishOpenDevices();
        std::swap(fake.mixer.volumeControlId, fake.mixer.muteControlId);
        fake.mixer.mute = 1;
        const std::function<void()> poll = [this] { fake.timers.advance(100); };
        const std::function<void()> write = [this] { controller().setVolume(30); };
        EXPECT_EQ(exitCodeOf(controllerFirst ? write : poll), -1);
        EXPECT_EQ(exitCodeOf(controllerFirst ? poll : write), -1);
        EXPECT_TRUE(fake.messageBoxes.shown.empty());
        EXPECT_EQ(fake.mixer.volume, 45874u);
        EXPECT_EQ(fake.mixer.mute, 1u);
        EXPECT_EQ(fake.shell.trayCalls.back().data.icon, platform::IconId::TrayMuted);
    }
}

TEST_F(MixerOperations, AFailureDuringTheMessageBoxLoopIsNotReportedTwice) {
    fake.mixer.failGet = 5;
    // While the first message is open, the mute poll keeps ticking and fails again.
    fake.messageBoxes.whileShown = [this](const auto&) { fake.timers.advance(350); };
    const long exitCode = exitCodeOf([this] { fake.timers.advance(100); });
    EXPECT_EQ(exitCode, 6);
    EXPECT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.log.count("processes.exit 6"), 1);
}

}  // namespace
}  // namespace qmx::testing
