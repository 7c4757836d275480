// Calls of the audio system that fail: each kind of call keeps its own clock, reads answer for
// themselves while a write is kept, a write outlives a restart of the audio service, a lasting
// outage renews the connection after waits that double, and the log gets each streak's first
// failure and its end.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app_harness.h"

namespace qmx::testing {
namespace {

using platform::IconId;

constexpr std::uint32_t kFail = 0x80004005;            // E_FAIL
constexpr std::uint32_t kHandle = 0x80070006;          // E_HANDLE, from Bluetooth headphones
constexpr std::uint32_t kNotFunctioning = 0x8007001F;  // from a USB gaming headset
constexpr std::uint32_t kGone = platform::kAudioDeviceInvalidated;
// How long a call may fail before it ends the program: a figure here, not the code's constant.
constexpr unsigned kTenSeconds = 10000;
constexpr const char* kMuteReadFailed = "Error! Unable to get Mixer Control Details.";
constexpr const char* kVolumeReadFailed = "Error! Can't get Mixer Control Details.";
constexpr const char* kWriteFailed = "Error! Unable to set Mixer Control Details.";

// A mute read failing while the volume reads work, a look-up or an activation failing: each
// ends the program with the message of the call that needed it once its own kind has failed for
// ten seconds, whatever other kinds answer meanwhile; a loss never does.
TEST(EndpointFailures, EachKindOfCallEndsTheProgramOnlyWhenItsOwnFailureLasts) {
    struct Case {
        const char* method;
        std::uint32_t code;
        bool controllerOpen;
        const char* message;  // nullptr: the program runs on
    };
    const Case cases[] = {
        {"GetMute", kFail, false, kMuteReadFailed},
        {"GetMute", kFail, true, kMuteReadFailed},
        {"GetMute", kGone, true, kMuteReadFailed},  // lost again by a new object: refused
        {"GetMasterVolumeLevelScalar", kFail, true, kVolumeReadFailed},
        {"GetMasterVolumeLevelScalar", kFail, false, nullptr},
        {"GetDefaultAudioEndpoint", kFail, false, kMuteReadFailed},
        {"GetDefaultAudioEndpoint", kGone, true, nullptr},
        {"Activate", kFail, false, kMuteReadFailed},
        {"Activate", kGone, true, nullptr},  // the default names a device that keeps being gone
    };
    for (const auto& [method, code, controllerOpen, message] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << method << " " << std::hex << code << " controller " << controllerOpen);
        Rig rig;
        rig.fake.eventLog.start();
        rig.outputs.add("speakers", "Speakers", 0.5f, true);
        ASSERT_EQ(rig.start(), -1);
        if (controllerOpen) rig.trayEvent(0x202);
        rig.advance(100);
        rig.outputs.failing[method] = code;
        const int listings = rig.outputs.listings;
        // The headset reconnects: its volume object is made anew.
        rig.outputs.remove("speakers");
        rig.outputs.add("speakers", "Speakers", 0.5f, true);
        EXPECT_EQ(rig.advance(kTenSeconds - 200), -1);
        EXPECT_EQ(rig.firstMessage(), "");
        EXPECT_EQ(rig.trayIcon(), IconId::TrayMuted);  // the last state known
        // The log lists the outputs at the system's notices and renewals, never at every poll.
        EXPECT_LE(rig.outputs.listings - listings, 5);
        EXPECT_EQ(rig.advance(400), message ? long{app::fatalExitCode(message)} : -1L);
        EXPECT_EQ(rig.firstMessage(), message ? message : "");
    }
}

// Bluetooth headphones and a USB headset refuse writes for good and read fine: the knob and the
// box follow the device, a mute made elsewhere shows on the icon at once, the volume object is
// kept (made anew only to tell a refusal with a code that usually means the device is gone), and
// the write ends the program with its own message once it has failed for ten seconds.
TEST(EndpointFailures, AWriteRefusedForGoodLetsReadsFollowTheDeviceAndEndsWithItsMessage) {
    struct Case {
        const char* method;
        std::uint32_t code;
        std::function<void(Rig&)> write;
        bool lossCode = false;
    };
    const Case cases[] = {
        {"SetMasterVolumeLevelScalar", kHandle, [](Rig& rig) { rig.dragKnob(13.8f * 10); }},
        {"SetMasterVolumeLevelScalar", kNotFunctioning, [](Rig& rig) { rig.dragKnob(13.8f * 10); }},
        {"SetMute", kHandle, [](Rig& rig) { rig.app.controller().chkmute().setValue(1); }},
        {"SetMasterVolumeLevelScalar", platform::kDeviceNotConnected,
         [](Rig& rig) { rig.dragKnob(13.8f * 10); }, true},
        {"SetMute", platform::kRpcCallFailed,
         [](Rig& rig) { rig.app.controller().chkmute().setValue(1); }, true},
    };
    for (const auto& [method, code, write, lossCode] : cases) {
        SCOPED_TRACE(::testing::Message() << method << " " << std::hex << code);
        Rig rig;
        rig.outputs.add("headset", "Headset", 0.6f, false);
        ASSERT_EQ(rig.start(), -1);
        rig.trayEvent(0x202);
        rig.advance(100);
        const int activations = rig.outputs.activations;
        rig.outputs.failing[method] = code;
        EXPECT_EQ(exitCodeOf([&] { write(rig); }), -1);
        EXPECT_EQ(rig.advance(100), -1);
        EXPECT_EQ(rig.label(), "60");
        EXPECT_EQ(rig.app.controller().chkmute().value(), 0);
        rig.outputs.devices["headset"].muted = true;  // the keyboard's mute key
        rig.outputs.devices["headset"].scalar = 0.3f;
        EXPECT_EQ(rig.advance(100), -1);
        EXPECT_EQ(rig.trayIcon(), IconId::TrayMuted);
        EXPECT_EQ(rig.label(), "30");
        if (!lossCode) {
            EXPECT_EQ(rig.outputs.activations, activations);
        }
        EXPECT_EQ(rig.advance(kTenSeconds - 400), -1);
        EXPECT_EQ(rig.firstMessage(), "");
        EXPECT_EQ(rig.advance(400), app::fatalExitCode(kWriteFailed));
        EXPECT_EQ(rig.firstMessage(), kWriteFailed);
    }
}

// A drag while the audio service restarts shows as made and reaches the device once the service
// is back; it is dropped when another device, or none, is in use by then.
TEST(EndpointFailures, AWriteDuringAServiceRestartReachesTheDeviceOnceItIsBack) {
    struct Case {
        std::function<void(fakes::FakeAudioEndpoints&)> meanwhile;
        float speakers;  // the speakers' level afterwards
        const char* label;
    };
    const Case cases[] = {
        {[](auto&) {}, mixer::scalarForLevel(13107), "20"},
        {[](auto& outputs) { outputs.setDefault("headset"); }, 0.3f, "60"},
        {[](auto& outputs) {
             outputs.remove("speakers");
             outputs.remove("headset");
         },
         0.3f, "0"},
    };
    for (const auto& [meanwhile, speakers, label] : cases) {
        SCOPED_TRACE(label);
        Rig rig;
        rig.outputs.add("speakers", "Speakers", 0.3f);
        rig.outputs.add("headset", "Headset", 0.6f);
        ASSERT_EQ(rig.start(), -1);
        rig.trayEvent(0x202);
        rig.outputs.stopService();
        rig.advance(500);
        EXPECT_EQ(exitCodeOf([&] { rig.dragKnob(13.8f * 10); }), -1);
        EXPECT_EQ(rig.advance(1000), -1);
        EXPECT_EQ(rig.label(), "20");
        meanwhile(rig.outputs);
        rig.outputs.startService();
        EXPECT_EQ(rig.advance(2000), -1);
        EXPECT_FLOAT_EQ(rig.outputs.devices["speakers"].scalar, speakers);
        EXPECT_FLOAT_EQ(rig.outputs.devices["headset"].scalar, 0.6f);
        EXPECT_EQ(rig.label(), label);
        EXPECT_TRUE(rig.fake.messageBoxes.shown.empty());
    }
}

// The program started on "speakers", its first poll made.
void startOnSpeakers(Rig& rig) {
    rig.outputs.add("speakers", "Speakers");
    ASSERT_EQ(rig.start(), -1);
    rig.advance(100);
}

// A drag the device refuses for good, kept once the controller is closed.
void keepARefusedWrite(Rig& rig) {
    rig.trayEvent(0x202);
    rig.outputs.failing["SetMasterVolumeLevelScalar"] = kHandle;
    rig.dragKnob(13.8f * 10);
    rig.app.controller().unload();
}

// A call that fails, then cannot be made for six seconds (the audio service restarting, no output
// left, a look-up that fails): the time it was not made does not count, so the program ends only
// ten seconds after the call fails again, with that call's message; a kept write that the
// look-up keeps from being made does not end it with the write's message.
TEST(EndpointFailures, AClockRunsOnlyWhileItsCallIsMade) {
    struct Case {
        const char* story;
        std::function<void(Rig&)> fail;
        std::function<void(Rig&)> outage;  // five seconds later, for six seconds
        std::function<void(Rig&)> after;
        const char* message;
    };
    const auto keptWrite = keepARefusedWrite;
    const auto activation = [](Rig& rig) {
        rig.outputs.failing["Activate"] = kFail;
        rig.outputs.remove("speakers");
        rig.outputs.add("speakers", "Speakers");
    };
    const auto stop = [](Rig& rig) { rig.outputs.stopService(); };
    const auto start = [](Rig& rig) { rig.outputs.startService(); };
    const auto unplug = [](Rig& rig) { rig.outputs.remove("speakers"); };
    const auto plug = [](Rig& rig) { rig.outputs.add("speakers", "Speakers"); };
    const Case cases[] = {
        {"the activation, then a service restart", activation, stop, start, kMuteReadFailed},
        {"the activation, then no output", activation, unplug, plug, kMuteReadFailed},
        {"the mute read, then no output", [](Rig& rig) { rig.outputs.failing["GetMute"] = kFail; },
         unplug, plug, kMuteReadFailed},
        {"a kept write, then a service restart", keptWrite, stop, start, kWriteFailed},
        {"a kept write, then a look-up that fails", keptWrite,
         [](Rig& rig) {
             rig.outputs.failing["GetDefaultAudioEndpoint"] = kFail;
             rig.outputs.rename("speakers", "Lautsprecher");
         },
         [](Rig&) {}, kMuteReadFailed},
    };
    for (const auto& [story, fail, outage, after, message] : cases) {
        SCOPED_TRACE(story);
        Rig rig;
        startOnSpeakers(rig);
        fail(rig);
        EXPECT_EQ(rig.advance(5000), -1);
        outage(rig);
        EXPECT_EQ(rig.advance(6000), -1);
        after(rig);
        EXPECT_EQ(rig.advance(2000), -1);
        EXPECT_EQ(rig.firstMessage(), "");
        EXPECT_EQ(rig.advance(kTenSeconds), app::fatalExitCode(message));
        EXPECT_EQ(rig.firstMessage(), message);
    }
}

// The tick count runs on while the machine sleeps: a read or a kept write that failed before the
// lid closed and fails again after resume has not failed for an hour. A pause of twenty polls
// or less (the program not scheduled for a moment) keeps the streak going, and so does a call
// that takes seconds to fail.
TEST(EndpointFailures, TimeAsleepIsNoTimeOfFailure) {
    const std::function<void(Rig&)> muteRead = [](Rig& rig) {
        rig.outputs.failing["GetMute"] = kFail;
    };
    const std::function<void(Rig&)> keptWrite = keepARefusedWrite;
    const struct {
        std::function<void(Rig&)> fail;
        unsigned pauseMs;
        const char* message;
        unsigned failingAfterPauseMs;  // until the message
    } cases[] = {
        {muteRead, 3600000, kMuteReadFailed, kTenSeconds},
        {keptWrite, 3600000, kWriteFailed, kTenSeconds},
        {muteRead, 2100, kMuteReadFailed, kTenSeconds},
        {muteRead, 2000, kMuteReadFailed, kTenSeconds - 5000 - 2000},
        {keptWrite, 1500, kWriteFailed, kTenSeconds - 5000 - 1500},
    };
    for (const auto& [fail, pauseMs, message, failingAfterPauseMs] : cases) {
        SCOPED_TRACE(::testing::Message() << message << ", asleep " << pauseMs << " ms");
        Rig rig;
        startOnSpeakers(rig);
        fail(rig);
        EXPECT_EQ(rig.advance(5000), -1);
        rig.fake.timers.sleep(pauseMs);
        EXPECT_EQ(rig.advance(failingAfterPauseMs - 200), -1);
        EXPECT_EQ(rig.firstMessage(), "");
        EXPECT_EQ(rig.advance(400), long{app::fatalExitCode(message)});
        EXPECT_EQ(rig.firstMessage(), message);
    }
    // A hung audio service: each call of one kind takes 3 s to fail.
    for (const char* method : {"GetMute", "GetDefaultAudioEndpoint", "Activate"}) {
        SCOPED_TRACE(method);
        Rig hung;
        startOnSpeakers(hung);
        hung.outputs.failing[method] = kFail;
        hung.outputs.whileFailing = [&hung] { hung.fake.timers.sleep(3000); };
        // The headset reconnects: its volume object is made anew.
        hung.outputs.remove("speakers");
        hung.outputs.add("speakers", "Speakers");
        long ended = -1;
        for (int polls = 0; polls < 10 && ended == -1; ++polls) ended = hung.advance(100);
        EXPECT_EQ(ended, long{app::fatalExitCode(kMuteReadFailed)});
        EXPECT_GE(hung.fake.timers.now, 10000u);
        EXPECT_LE(hung.fake.timers.now, 14000u);
    }
}

class EndpointRecovery : public ::testing::Test, protected Rig {};

// The default look-up fails while the audio service comes up at logon; a write fails once
// while a headset reconnects. No message: the icon is there at once, the level follows once the
// system answers, and the write goes through at the next poll, unless another output has
// become the default meanwhile.
TEST_F(EndpointRecovery, AFailureForAWhileIsWaitedThroughAndAFailedWriteIsMadeAgain) {
    outputs.add("speakers", "Speakers", 0.6f, true);
    outputs.add("headset", "Headset", 0.3f);
    outputs.failing["GetDefaultAudioEndpoint"] = kFail;
    ASSERT_EQ(start(), -1);
    EXPECT_EQ(advance(2000), -1);
    EXPECT_FALSE(fake.shell.trayCalls.empty());  // the icon is there
    outputs.failing.clear();
    EXPECT_EQ(advance(1100), -1);
    EXPECT_EQ(trayIcon(), IconId::TrayMuted);
    trayEvent(0x202);
    EXPECT_EQ(label(), "60");

    outputs.failNextValueCalls = 1;
    EXPECT_EQ(exitCodeOf([&] { dragKnob(13.8f * 10); }), -1);
    EXPECT_EQ(label(), "50");
    EXPECT_EQ(advance(100), -1);
    EXPECT_FLOAT_EQ(outputs.devices["speakers"].scalar, mixer::scalarForLevel(32768));
    EXPECT_EQ(label(), "50");
    EXPECT_TRUE(fake.messageBoxes.shown.empty());

    outputs.failNextValueCalls = 100;  // every one
    EXPECT_EQ(exitCodeOf([&] { dragKnob(13.8f * 10); }), -1);
    outputs.failNextValueCalls = 0;
    outputs.setDefault("headset");
    EXPECT_EQ(advance(100), -1);
    EXPECT_FLOAT_EQ(outputs.devices["headset"].scalar, 0.3f);
    EXPECT_EQ(label(), "30");
}

// Ten minutes without the audio service: the connection is renewed at once, then after waits of
// 1, 2, 4, 8, 16 and 30 seconds, and the log tells the renewals until the wait is the longest;
// once the service is back the watch is on again, and the next outage is renewed at once again,
// also a restart 0.1 s after the renewal that followed the one before.
TEST_F(EndpointRecovery, ALastingOutageRenewsTheConnectionAfterWaitsThatDouble) {
    fake.eventLog.start();
    outputs.add("speakers", "Speakers");
    ASSERT_EQ(start(), -1);
    outputs.stopService();
    EXPECT_EQ(advance(10 * 60 * 1000), -1);
    const auto renewals = linesWith("renewed");
    const char* waits[] = {"1 s", "2 s", "4 s", "8 s", "16 s", "30 s, and so each one after"};
    ASSERT_EQ(renewals.size(), std::size(waits));
    for (std::size_t i = 0; i < std::size(waits); ++i) {
        EXPECT_EQ(renewals[i], std::string("Connection to the audio service renewed, "
                                           "notifications off; the next renewal waits ") +
                                   waits[i]);
    }
    // At 0.1, 1.1, 3.1, 7.1, 15.1 and 31.1 s, then every 30 s up to 600 s.
    EXPECT_EQ(outputs.reconnects, 24);

    outputs.startService();
    EXPECT_EQ(advance(30000), -1);
    EXPECT_TRUE(outputs.watching());
    const int reconnects = outputs.reconnects;
    outputs.stopService();
    EXPECT_EQ(advance(100), -1);
    EXPECT_EQ(outputs.reconnects, reconnects + 1);
    outputs.startService();
    EXPECT_EQ(advance(1100), -1);
    EXPECT_TRUE(outputs.watching());
    for (int restart = 2; restart <= 3; ++restart) {  // between two polls, each
        outputs.stopService();
        outputs.startService();
        EXPECT_EQ(advance(100), -1);
        EXPECT_EQ(outputs.reconnects, reconnects + restart);
    }
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

// A watch the system refuses at start-up is asked for again on the connection that answers,
// after 1, 3, 7, 15 and 31 s, until it holds, and the log tells only the first refusal and the
// registration that holds; then the default is no longer looked up before every call.
TEST_F(EndpointRecovery, ANotificationRegistrationRefusedAtStartUpIsMadeAgainUntilItHolds) {
    fake.eventLog.start();
    outputs.watchFails = true;
    outputs.add("speakers", "Speakers");
    ASSERT_EQ(start(), -1);
    EXPECT_EQ(advance(20000), -1);
    EXPECT_FALSE(outputs.watching());
    EXPECT_EQ(outputs.reconnects, 0);
    EXPECT_EQ(linesWith("notifications"),
              std::vector<std::string>{"Device notifications refused (first of a streak)"});
    outputs.watchFails = false;
    EXPECT_EQ(advance(10000), -1);
    EXPECT_FALSE(outputs.watching());
    EXPECT_EQ(advance(1100), -1);
    EXPECT_TRUE(outputs.watching());
    EXPECT_EQ(linesWith("notifications").back(),
              "Device notifications registered after 5 refusals");
    const int lookups = outputs.defaultLookups;
    EXPECT_EQ(advance(500), -1);
    EXPECT_EQ(outputs.defaultLookups, lookups);
    app.about().show();
    outputs.rename("speakers", "Lautsprecher");
    fake.timers.advance(500);
    EXPECT_EQ(aboutDevice(), "Mixer : Lautsprecher");
}

// The log: the first failure of each streak with its method and code, the streak's end with its
// count, each renewal with its wait, and the changes of devices; nothing on a quiet poll.
TEST(EndpointLog, TellsTheFirstFailureOfAStreakItsEndAndTheChangesOfDevices) {
    struct Case {
        const char* story;
        std::function<void(Rig&)> fail;
        std::function<void(Rig&)> recover;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"the mute read fails for two seconds",
         [](Rig& rig) { rig.outputs.failing["GetMute"] = kFail; },
         [](Rig& rig) { rig.outputs.failing.clear(); },
         {"GetMute failed 0x80004005 (first of a streak)",
          "GetMute answers again after 20 failures"}},
        {"a write refused while headphones reconnect",
         [](Rig& rig) {
             rig.trayEvent(0x202);
             rig.outputs.failing["SetMasterVolumeLevelScalar"] = kHandle;
             rig.dragKnob(13.8f * 10);
             rig.app.controller().unload();  // the mute poll alone makes the write again
         },
         [](Rig& rig) { rig.outputs.failing.clear(); },
         {"SetMasterVolumeLevelScalar failed 0x80070006 (first of a streak)",
          "SetMasterVolumeLevelScalar answers again after 22 failures"}},
        {"the audio service restarts",
         [](Rig& rig) { rig.outputs.stopService(); },
         [](Rig& rig) { rig.outputs.startService(); },
         {"GetMute failed 0x88890010 (The audio service is not running.) (first of a streak)",
          "GetDefaultAudioEndpoint failed 0x88890010 (The audio service is not running.) (first "
          "of a streak)",
          "Connection to the audio service renewed, notifications off; the next renewal waits 1 s",
          "Device notifications refused (first of a streak)",
          "Connection to the audio service renewed, notifications off; the next renewal waits 2 s",
          "GetDefaultAudioEndpoint answers again after 22 failures",
          "GetMute answers again after 1 failure",
          "Device notifications registered after 2 refusals"}},
        {"a headset comes and goes",
         [](Rig& rig) {
             rig.outputs.add("headset", "Headset");
             rig.outputs.setDefault("headset");
         },
         [](Rig& rig) { rig.outputs.remove("headset"); },
         {"Output added: headset (Headset)", "Default output changed to headset (Headset)",
          "Output removed: headset (Headset)", "Default output changed to speakers (Speakers)"}},
        {"the only output is unplugged and plugged in again",
         [](Rig& rig) { rig.outputs.remove("speakers"); },
         [](Rig& rig) { rig.outputs.add("speakers", "Speakers"); },
         {"Output removed: speakers (Speakers)", "No default output: no output is active",
          "Output added: speakers (Speakers)", "Default output changed to speakers (Speakers)"}},
        {"the output in use loses its name, and another is renamed",
         [](Rig& rig) {
             rig.outputs.add("headset", "Headset");
             rig.outputs.rename("speakers", "");
         },
         [](Rig& rig) {
             rig.outputs.rename("speakers", "\xC2\xA0");  // shows nothing either
             rig.outputs.rename("headset", "Casque");
         },
         {"Output renamed: speakers (Unnamed device)", "Output added: headset (Headset)",
          "Output renamed: headset (Casque)"}},
    };
    for (const auto& [story, fail, recover, lines] : cases) {
        SCOPED_TRACE(story);
        Rig rig;
        rig.fake.eventLog.start();
        rig.outputs.add("speakers", "Speakers");
        ASSERT_EQ(rig.start(), -1);
        rig.advance(100);
        const std::size_t before = rig.fake.logFile.lines().size();
        fail(rig);
        rig.advance(2000);
        recover(rig);
        rig.advance(2000);
        const auto all = rig.fake.logFile.lines();
        EXPECT_EQ(std::vector<std::string>(all.begin() + before, all.end()), lines);
        rig.advance(1000);
        EXPECT_EQ(rig.fake.logFile.lines().size(), all.size());  // nothing on quiet polls
    }
}

TEST(EndpointResults, LossesAreToldApartFromFailures) {
    using platform::EndpointStatus;
    const std::pair<std::uint32_t, EndpointStatus> cases[] = {
        {0x00000000, EndpointStatus::Ok},         {0x00000001, EndpointStatus::Ok},  // S_FALSE
        {0x88890004, EndpointStatus::DeviceGone},  // AUDCLNT_E_DEVICE_INVALIDATED
        {0x88890010, EndpointStatus::DeviceGone},  // AUDCLNT_E_SERVICE_NOT_RUNNING
        {0x80070490, EndpointStatus::DeviceGone},  // E_NOTFOUND
        {0x8007048F, EndpointStatus::DeviceGone},  // ERROR_DEVICE_NOT_CONNECTED
        {0x80010108, EndpointStatus::DeviceGone},  // RPC_E_DISCONNECTED
        {0x800706BA, EndpointStatus::DeviceGone},  // RPC_S_SERVER_UNAVAILABLE
        {0x800706BE, EndpointStatus::DeviceGone},  // RPC_S_CALL_FAILED
        {0x80004005, EndpointStatus::Failed},      // E_FAIL
        {0x80070006, EndpointStatus::Failed},      // E_HANDLE
        {0x8007001F, EndpointStatus::Failed},      // ERROR_GEN_FAILURE
        {0x8889000A, EndpointStatus::Failed},      // AUDCLNT_E_DEVICE_IN_USE
        {0x80070005, EndpointStatus::Failed},      // E_ACCESSDENIED
        {0x80004001, EndpointStatus::Failed},      // E_NOTIMPL
    };
    for (auto [result, status] : cases) {
        EXPECT_EQ(platform::endpointStatusOf(result), status) << std::hex << result;
    }
}

}  // namespace
}  // namespace qmx::testing
