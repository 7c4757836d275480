#include "app_harness.h"
#include "mixer/mixer_messages.h"

namespace qmx::testing {
namespace {

using Calls = std::vector<std::string>;

class StartUp : public AppTest {};

TEST_F(StartUp, RunsItsStepsInOrderAndEndsIdleWithTheControllerClosed) {
    ASSERT_EQ(start(), -1);
    const Calls& calls = fake.log.calls;
    const Calls milestones = {"windows.initCommonControls",
                              "windows.create Form2",
                              "shell.notifyIcon add",
                              "processes.createMutex qmx",
                              "processes.enum 16",
                              "mixer.lineControl 536936450",
                              "windows.setTimer Form2 1",
                              "windows.create Form1",
                              "mixer.lineControl 1342373889",
                              "mixer.get 7",
                              "windows.destroy Form1"};
    long previous = -1;
    for (const auto& milestone : milestones) {
        const long at = fake.log.indexOf(milestone);
        ASSERT_GT(at, previous) << milestone;
        previous = at;
    }
    EXPECT_EQ(calls.back(), "windows.destroy Form1");
    EXPECT_EQ(fake.windows.find("Form1"), nullptr);
    EXPECT_EQ(app.trayHost().txtform1signal().text(), "0");
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    // The icon, and its callback form declared after it.
    ASSERT_EQ(fake.shell.trayCalls.size(), 2u);
    EXPECT_EQ(fake.shell.trayCalls[1].message, platform::TrayMessage::SetVersion);
}

TEST_F(StartUp, AddsTheTrayIconWithItsTipAndCallback) {
    ASSERT_EQ(start(), -1);
    const platform::TrayIconData& data = fake.shell.trayCalls.at(0).data;
    EXPECT_EQ(data.window, hostWindow());
    EXPECT_EQ(data.id, 1u);
    EXPECT_EQ(data.flags, 7u);
    EXPECT_EQ(data.callbackMessage, 0x201u);
    EXPECT_EQ(data.icon, platform::IconId::TrayNormal);
    const std::string tip(data.tip.data(), data.tip.size());
    EXPECT_EQ(tip, std::string("Velto Volume Controller 4.0") + '\0' + std::string(36, ' '));
}

TEST_F(StartUp, ReadsTheSystemFolder) {
    fake.system.systemDirectory = "C:\\WINDOWS\\system32";
    ASSERT_EQ(start(), -1);
    EXPECT_EQ(app.os().sysDir, "C:\\WINDOWS\\system32");
}

TEST_F(StartUp, PassesOverASystemFolderTooLongForItsBuffer) {
    fake.system.systemDirectory = "C:\\" + std::string(260, 'x');
    ASSERT_EQ(start(), -1);
    EXPECT_EQ(app.os().sysDir, "");
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    EXPECT_GE(fake.log.indexOf("windows.destroy Form1"), 0);
}

TEST_F(StartUp, RunsOnEveryNtSystem) {
    for (std::uint32_t major : {5u, 6u, 10u}) {
        Program other;
        other.fake.system.osVersion = {major, 0, 0, 2};
        EXPECT_EQ(other.start(), -1);
        EXPECT_EQ(other.app.os().osMajor, major);
    }
}

class UnsupportedSystem : public AppTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(UnsupportedSystem, IsRefusedWithTheStopMessageBeforeAnyScanOrMixerAccess) {
    fake.system.osVersion = {4, 10, 0, GetParam()};
    EXPECT_EQ(start(), 9);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text,
              "Operating System Does not support. This program only runs in Windows 2000 and "
              "XP.");
    EXPECT_EQ(fake.messageBoxes.shown[0].caption, "Velto Volume Controller 4.0");
    EXPECT_EQ(fake.messageBoxes.shown[0].flags, 0x10u);
    EXPECT_EQ(fake.log.indexOf("processes.enum 16"), -1);
    EXPECT_EQ(fake.log.indexOf("mixer.open 0"), -1);
    EXPECT_GE(fake.log.indexOf("shell.notifyIcon add"), 0);
    EXPECT_EQ(fake.log.calls.back(), "processes.exit 9");
}

INSTANTIATE_TEST_SUITE_P(PlatformIds, UnsupportedSystem, ::testing::Values(0u, 1u));

TEST_F(StartUp, WithoutAMixerDeviceEndsBeforeTheControllerExists) {
    fake.mixer.present = false;
    EXPECT_EQ(start(), 1);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text, mixer::kOpenFailed);
    EXPECT_EQ(fake.messageBoxes.shown[0].flags, 0x30u);
    EXPECT_EQ(fake.windows.windowsCreated, 1);  // the tray host only
    EXPECT_EQ(fake.log.indexOf("windows.setTimer Form2 1"), -1);
    const Calls tail(fake.log.calls.end() - 2, fake.log.calls.end());
    EXPECT_EQ(tail, (Calls{"shell.notifyIcon delete", "processes.exit 1"}));
}

TEST_F(StartUp, WithoutAMuteControlEndsAtTheHostsDiscovery) {
    fake.mixer.hasMute = false;
    EXPECT_EQ(start(), 3);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text, mixer::kLineControlsFailed);
    EXPECT_EQ(fake.windows.find("Form1"), nullptr);
}

TEST_F(StartUp, AVolumeReadFailureInTheControllerEndsTheProgram) {
    fake.mixer.failGet = 1;
    EXPECT_EQ(start(), 5);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text, mixer::kVolumeReadFailed);
}

TEST_F(StartUp, AFailingProcessListIsReportedAndStartUpGoesOn) {
    fake.processes.enumFails = true;
    ASSERT_EQ(start(), -1);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].flags, 0x30u);
    EXPECT_EQ(fake.messageBoxes.shown[0].caption, "Velto Volume Controller 4.0");
    EXPECT_GE(fake.log.indexOf("windows.destroy Form1"), 0);
}

TEST_F(StartUp, ASecondCopyEndsSilentlyWithItsProcessIdAndTakesItsIconAway) {
    fake.processes.addProcess(17, fake.processes.ownPath);
    EXPECT_EQ(start(), static_cast<long>(fake.processes.ownId));
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    EXPECT_EQ(fake.log.indexOf("mixer.open 0"), -1);
    const Calls tail(fake.log.calls.end() - 2, fake.log.calls.end());
    EXPECT_EQ(tail, (Calls{"shell.notifyIcon delete",
                           "processes.exit " + std::to_string(fake.processes.ownId)}));
}

TEST_F(StartUp, TheShellRestartingBringsTheIconBackWithItsTipAndThePictureOfTheMuteState) {
    ASSERT_EQ(start(), -1);
    for (const auto& [mute, picture] : {std::pair{1u, platform::IconId::TrayMuted},
                                        std::pair{0u, platform::IconId::TrayNormal}}) {
        fake.mixer.mute = mute;
        fake.timers.advance(100);
        fake.shell.restart(true);
        fake.windows.deliver(hostWindow(), [](auto& events) { events.onTaskbarCreated(); });
        // Added, then its callback form declared again.
        EXPECT_EQ(fake.shell.trayCalls.back().message, platform::TrayMessage::SetVersion) << mute;
        const auto& last = fake.shell.trayCalls.end()[-2];
        EXPECT_EQ(last.message, platform::TrayMessage::Add) << mute;
        EXPECT_EQ(last.data.callbackMessage, 0x201u) << mute;
        EXPECT_EQ(last.data.icon, picture) << mute;
        EXPECT_EQ(last.data.flags, 7u) << mute;  // the tip comes back with it
    }
}

// A program started at logon before the notification area takes icons, or a new taskbar that
// announced itself before it takes them: the icon is added again, after waits of 1, 2, 4 ... up
// to 30 s, until it stands, with the tip and the picture of the moment; the log names the first
// refusal and the add that held. An add that timed out but put the icon up stands at once.
TEST_F(StartUp, ARefusedOrLostIconIsAddedAgainUntilItStands) {
    fake.eventLog.start();
    fake.shell.ready = false;
    ASSERT_EQ(start(), -1);
    std::vector<std::uint64_t> addedAt;
    for (int polls = 0; polls < 1000; ++polls) {
        const int adds = fake.shell.adds();
        fake.timers.advance(100);
        if (fake.shell.adds() != adds) addedAt.push_back(fake.timers.now);
    }
    EXPECT_EQ(addedAt, (std::vector<std::uint64_t>{1000, 3000, 7000, 15000, 31000, 61000, 91000}));
    // A new taskbar that does not take icons yet: tried at once, then after 1 s again.
    fake.windows.deliver(hostWindow(), [](auto& events) { events.onTaskbarCreated(); });
    fake.timers.advance(1000);
    EXPECT_EQ(fake.shell.adds(), 10);
    fake.mixer.mute = 1;
    fake.shell.ready = true;
    fake.timers.advance(2000);
    EXPECT_EQ(fake.shell.adds(), 11);
    ASSERT_TRUE(fake.shell.iconShown);
    const auto& calls = fake.shell.trayCalls;
    const auto added = std::find_if(calls.rbegin(), calls.rend(), [](const auto& call) {
        return call.message == platform::TrayMessage::Add;
    });
    EXPECT_EQ(added->data.icon, platform::IconId::TrayMuted);
    EXPECT_EQ(added->data.flags, 7u);
    EXPECT_EQ(added[-1].message, platform::TrayMessage::SetVersion);
    const auto lines = fake.logFile.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "Tray icon refused by the shell (first of a streak)"),
              2);
    EXPECT_EQ(lines.back(), "Tray icon added after 2 refusals");

    // A new taskbar that does not take icons yet, and an icon the shell lost: added again 1 s
    // after the refused add or the change that found no icon, a new streak each.
    for (const bool announced : {true, false}) {
        SCOPED_TRACE(announced ? "a new taskbar not ready yet" : "the icon lost");
        fake.shell.restart(!announced);
        const int before = fake.shell.adds();
        if (announced) {
            fake.windows.deliver(hostWindow(), [](auto& events) { events.onTaskbarCreated(); });
            EXPECT_NE(fake.shell.trayCalls.back().message, platform::TrayMessage::SetVersion);
            fake.timers.advance(900);
            fake.shell.ready = true;
        } else {
            fake.timers.advance(1000);
        }
        EXPECT_EQ(fake.shell.adds(), before + (announced ? 1 : 0));
        fake.timers.advance(100);
        EXPECT_EQ(fake.shell.adds(), before + (announced ? 2 : 1));
        EXPECT_TRUE(fake.shell.iconShown);
        fake.timers.advance(1000);
        EXPECT_EQ(fake.shell.adds(), before + (announced ? 2 : 1));
    }
    const auto streaks = fake.logFile.lines();
    EXPECT_EQ(std::count(streaks.begin(), streaks.end(),
                         "Tray icon refused by the shell (first of a streak)"),
              4);
    EXPECT_EQ(streaks.back(), "Tray icon added after 1 refusal");

    fake.shell.restart(true);
    fake.shell.addTimesOut = true;
    fake.windows.deliver(hostWindow(), [](auto& events) { events.onTaskbarCreated(); });
    const int adds = fake.shell.adds();
    fake.timers.advance(5000);
    EXPECT_EQ(fake.shell.adds(), adds);
    EXPECT_EQ(fake.shell.trayCalls.back().message, platform::TrayMessage::Modify);
}

}  // namespace
}  // namespace qmx::testing
