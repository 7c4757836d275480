// Audio outputs that come and go while the program runs: the default output is followed, a lost
// device never ends the program, and only a real failure does.
#include <map>

#include "app_harness.h"
#include "resources/tray_menu.h"

namespace qmx::testing {
namespace {

using platform::IconId;
using namespace resources::controller;

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
        EXPECT_TRUE(rig.fake.messageBoxes.shown.empty());
    }
}

TEST_F(DeviceChanges, TheDefaultSwitchingWhileTheControllerIsOpenIsShownAndWritten) {
    outputs.add("speakers", "Speakers", 0.25f);
    outputs.add("hdmi", "HDMI Monitor", 0.75f);
    ASSERT_EQ(start(), -1);
    trayEvent(0x202);
    EXPECT_EQ(label(), "25");
    outputs.setDefault("hdmi");
    fake.timers.advance(10);  // the follow-up tick
    EXPECT_EQ(label(), "75");
    dragKnob(13.8f * 10);  // ten steps down
    EXPECT_EQ(label(), "65");
    EXPECT_FLOAT_EQ(outputs.devices["hdmi"].scalar, mixer::scalarForLevel(42598));
    EXPECT_FLOAT_EQ(outputs.devices["speakers"].scalar, 0.25f);
    // The About box names the device in use when it opens.
    app.about().show();
    EXPECT_EQ(aboutDevice(), "Mixer : HDMI Monitor");
}

TEST_F(DeviceChanges, TheSameDeviceReturningWithItsIdIsActivatedAnew) {
    outputs.add("headset", "USB Headset", 0.5f, false);
    ASSERT_EQ(start(), -1);
    fake.timers.advance(100);
    const int activations = outputs.activations;
    const std::uint32_t inUse = mixer.deviceSerial();
    outputs.remove("headset");
    outputs.add("headset", "USB Headset", 0.5f, true);
    EXPECT_EQ(advance(100), -1);
    EXPECT_EQ(outputs.activations, activations + 1);
    EXPECT_EQ(trayIcon(), IconId::TrayMuted);
    EXPECT_EQ(mixer.deviceSerial(), inUse);  // the same device: a drag on it would go on
}

// With every output removed the program shows what start-up shows without one: the bottom of
// the scale, the box unchecked, the About box saying there is none; the keys change nothing.
TEST_F(DeviceChanges, WithEveryDeviceGoneItShowsWhatStartUpShowsAndFollowsTheFirstToComeBack) {
    outputs.add("headset", "USB Headset", 0.75f, true);
    ASSERT_EQ(start(), -1);
    trayEvent(0x202);
    fake.timers.advance(100);
    outputs.remove("headset");
    EXPECT_EQ(advance(300), -1);
    EXPECT_EQ(label(), "0");
    EXPECT_EQ(app.controller().chkmute().value(), 0);
    EXPECT_EQ(trayIcon(), IconId::TrayNormal);
    EXPECT_EQ(exitCodeOf([&] { dragKnob(-13.8f * 20); }), -1);  // nothing to write to
    EXPECT_EQ(label(), "0");
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    trayEvent(0x202);  // a controller opened now
    EXPECT_EQ(label(), "0");
    app.about().show();
    EXPECT_EQ(aboutDevice(), "Mixer : (No playback device)");

    outputs.add("speakers", "Speakers", 0.9f, false);
    fake.timers.advance(100);
    EXPECT_EQ(label(), "90");
    EXPECT_FLOAT_EQ(outputs.devices["headset"].scalar, 0.75f);
}

// The name shown is the device's present one: a default that changed or a device renamed while
// the About box is open, control characters as spaces, a name too long for the line cut with "…",
// a name that cannot be read said to be none until it is read again.
TEST_F(DeviceChanges, AnOpenAboutBoxNamesTheDeviceInUseAsItIsNow) {
    outputs.add("speakers", "Speakers");
    outputs.add("headset", "Headset");
    ASSERT_EQ(start(), -1);
    app.about().show();
    EXPECT_EQ(aboutDevice(), "Mixer : Speakers");
    outputs.remove("speakers");
    const std::pair<const char*, const char*> names[] = {
        {"Headset", "Headset"},
        {"Kopfh\xC3\xB6rer\tBluetooth", "Kopfh\xC3\xB6rer Bluetooth"},
        {"Headset (High Definition Audio Device)", "Headset (High Definition Aud\xE2\x80\xA6"},
        {"", "(Unnamed device)"},  // no name yet, as a device just plugged in may have
    };
    for (const auto& [name, shown] : names) {
        outputs.rename("headset", name);
        fake.timers.advance(500);
        EXPECT_EQ(aboutDevice(), std::string("Mixer : ") + shown);
    }
    outputs.failing["GetValue"] = 0x80004005;  // its property store cannot be read for a while
    outputs.add("usb", "USB Speakers");
    outputs.setDefault("usb");
    fake.timers.advance(500);
    EXPECT_EQ(aboutDevice(), "Mixer : (Unnamed device)");
    outputs.failing.clear();
    fake.timers.advance(1500);
    EXPECT_EQ(aboutDevice(), "Mixer : USB Speakers");
}

// The audio service restarts (a driver update, the troubleshooter): the program waits through
// the outage, then works on a new connection whose watch hears the system again; the drags made
// meanwhile reach the device.
TEST_F(DeviceChanges, AnAudioServiceRestartIsSurvivedAndTheWatchComesBack) {
    outputs.add("speakers", "Speakers", 0.3f);
    outputs.add("headset", "Headset", 0.6f);
    ASSERT_EQ(start(), -1);
    trayEvent(0x202);
    for (int restart = 0; restart < 2; ++restart) {
        outputs.stopService();
        EXPECT_EQ(advance(1000), -1);
        EXPECT_EQ(exitCodeOf([&] { dragKnob(13.8f * 5); }), -1);
        EXPECT_TRUE(fake.messageBoxes.shown.empty());
        outputs.startService();
        EXPECT_EQ(advance(100), -1);
        EXPECT_TRUE(outputs.watching());
    }
    EXPECT_EQ(label(), "20");
    EXPECT_FLOAT_EQ(outputs.devices["speakers"].scalar, mixer::scalarForLevel(13107));
    outputs.setDefault("headset");
    fake.timers.advance(100);
    EXPECT_EQ(label(), "60");
    const int lookups = outputs.defaultLookups;
    fake.timers.advance(200);
    EXPECT_EQ(outputs.defaultLookups, lookups);  // watched again: no look-up before every call
    dragKnob(13.8f * 10);
    EXPECT_EQ(label(), "50");
    EXPECT_FLOAT_EQ(outputs.devices["headset"].scalar, mixer::scalarForLevel(32768));
    EXPECT_FLOAT_EQ(outputs.devices["speakers"].scalar, mixer::scalarForLevel(13107));
}

TEST_F(DeviceChanges, WithoutChangeNotificationsTheDefaultIsLookedUpBeforeEveryCall) {
    outputs.watchFails = true;
    outputs.add("speakers", "Speakers", 0.3f);
    outputs.add("hdmi", "HDMI Monitor", 0.7f, true);
    ASSERT_EQ(start(), -1);
    fake.timers.advance(100);
    EXPECT_EQ(trayIcon(), IconId::TrayNormal);
    outputs.setDefault("hdmi");
    fake.timers.advance(100);
    EXPECT_EQ(trayIcon(), IconId::TrayMuted);
}

// Without the system's notices a device renamed in the Sound settings is found as its name is
// read again: once the refused watch is accepted, and while it is refused (on a new connection
// after a restart of the audio service) 1 s after the last read, then 2 s after that, never at
// each of the About box's ticks.
TEST_F(DeviceChanges, WithoutChangeNotificationsARenameIsReadAgainAtTheRenewalsPace) {
    fake.eventLog.start();
    outputs.watchFails = true;
    outputs.add("speakers", "Speakers");
    ASSERT_EQ(start(), -1);
    fake.timers.advance(250);  // the box's ticks fall between the polls
    app.about().show();
    outputs.rename("speakers", "Lautsprecher");
    outputs.watchFails = false;  // accepted at 1 s, after one refusal
    EXPECT_EQ(advance(1000), -1);
    EXPECT_EQ(aboutDevice(), "Mixer : Lautsprecher");
    outputs.watchFails = true;
    outputs.stopService();
    outputs.startService();
    EXPECT_EQ(advance(100), -1);  // renewed, the watch refused, the name read
    const int reads = outputs.nameReads;
    const std::pair<const char*, unsigned> renames[] = {{"Speakers", 1400}, {"Lautsprecher", 2000}};
    for (const auto& [name, wait] : renames) {
        outputs.rename("speakers", name);
        EXPECT_EQ(advance(wait), -1);
        EXPECT_EQ(aboutDevice(), std::string("Mixer : ") + name);
    }
    EXPECT_EQ(outputs.nameReads - reads, 2);
    EXPECT_EQ(linesWith("renamed"),
              (std::vector<std::string>{"Output renamed: speakers (Lautsprecher)",
                                        "Output renamed: speakers (Speakers)",
                                        "Output renamed: speakers (Lautsprecher)"}));
}

// Speakers at 90, headphones at 20 become the default while the knob is held: the drag ends and
// the headphones keep their level.
TEST_F(DeviceChanges, ASwitchOfTheDeviceInUseEndsADragInProgress) {
    outputs.add("speakers", "Speakers", 0.9f);
    outputs.add("headphones", "Headphones", 0.2f);
    ASSERT_EQ(start(), -1);
    trayEvent(0x202);
    const auto window = fake.windows.idOf("Form1");
    fake.windows.deliver(window,
                         [](auto& e) { e.onPointerDown(Knob, platform::kLeftButton, 7, 100); });
    fake.windows.deliver(
        window, [](auto& e) { e.onPointerMove(Knob, platform::kLeftButton, 7, 100 + 13.8f); });
    EXPECT_EQ(label(), "89");
    outputs.setDefault("headphones");
    fake.timers.advance(10);
    EXPECT_EQ(label(), "20");
    // The pointer stays where it was on the screen: far above the knob at its new place.
    for (float y : {-838.0f, -830.0f, -850.0f}) {
        fake.windows.deliver(window,
                             [y](auto& e) { e.onPointerMove(Knob, platform::kLeftButton, 7, y); });
    }
    EXPECT_FLOAT_EQ(outputs.devices["headphones"].scalar, 0.2f);
    EXPECT_EQ(label(), "20");
    dragKnob(-13.8f * 10);  // a new drag works on the new device
    EXPECT_EQ(label(), "30");
}

// A monitor that is off at logon, headphones not yet connected, or the audio service still
// starting (the count of installed outputs, or the look-up too, failing for a while): the program
// starts and waits, showing the bottom of the scale, and follows the first device to become the
// default.
TEST_F(DeviceChanges, StartingWithDevicesInstalledButNoneActiveWaitsForOne) {
    const std::map<std::string, std::uint32_t> failing[] = {
        {},  // the monitor installed, nothing failing
        {{"EnumAudioEndpoints", 0x80004005}},
        {{"EnumAudioEndpoints", platform::kAudioServiceNotRunning}},
        {{"EnumAudioEndpoints", 0x80004005}, {"GetDefaultAudioEndpoint", 0x80004005}},
    };
    for (const auto& calls : failing) {
        SCOPED_TRACE(calls.size());
        Rig rig;
        if (calls.empty()) {
            rig.outputs.add("hdmi", "HDMI Monitor", 0.8f, true);
            rig.outputs.remove("hdmi");
        }
        rig.outputs.failing = calls;
        ASSERT_EQ(rig.start(), -1);
        rig.trayEvent(0x202);
        EXPECT_EQ(rig.label(), "0");
        EXPECT_EQ(rig.app.controller().chkmute().value(), 0);
        EXPECT_TRUE(rig.fake.messageBoxes.shown.empty());
        EXPECT_EQ(rig.advance(3000), -1);
        rig.outputs.failing.clear();
        rig.outputs.add("hdmi", "HDMI Monitor", 0.8f, true);
        EXPECT_EQ(rig.advance(calls.empty() ? 100 : 1100), -1);  // after a renewal's wait
        EXPECT_EQ(rig.label(), "80");
        EXPECT_EQ(rig.trayIcon(), IconId::TrayMuted);
    }
}

// No output ever installed ends the program with its message, also when the count that finds
// none is made again once the system answers.
TEST_F(DeviceChanges, StartingWithNoOutputDeviceShowsTheMessageAndEnds) {
    const char* kOpenFailed = "Error! Unable to open a Mixer Device. Program will be terminated.";
    EXPECT_EQ(start(), 1);
    EXPECT_EQ(firstMessage(), kOpenFailed);
    EXPECT_FALSE(outputs.watching());  // no call of the audio service's into the ending process
    Rig rig;
    rig.outputs.failing["EnumAudioEndpoints"] = 0x80004005;
    ASSERT_EQ(rig.start(), -1);
    EXPECT_EQ(rig.advance(3000), -1);
    rig.outputs.failing.clear();
    EXPECT_EQ(rig.advance(5000), 1);
    EXPECT_EQ(rig.firstMessage(), kOpenFailed);
}

TEST_F(DeviceChanges, ClosingStopsTheWatchOfTheOutputsBeforeTheProcessEnds) {
    outputs.add("speakers", "Speakers", 0.3f);
    ASSERT_EQ(start(), -1);
    fake.timers.advance(100);
    ASSERT_TRUE(outputs.watching());
    fake.menus.menuChoice = resources::tray_menu::Exitqmx;
    EXPECT_EQ(exitCodeOf([this] { trayEvent(0x204); }), 0);
    EXPECT_FALSE(outputs.watching());
}

// The system's endpoints outlive the mixer and may call its callback at any time (a switch of the
// console's default does at once): the mixer takes it back when it goes, also one whose
// registration the system refused.
TEST(EndpointMixerEnd, TakesItsCallbackBackAlsoWhenTheWatchWasRefused) {
    for (bool refused : {false, true}) {
        fakes::FakePlatform fake;
        fakes::FakeAudioEndpoints outputs;
        outputs.watchFails = refused;
        outputs.add("speakers", "Speakers");
        {
            mixer::EndpointMixer mixer{outputs, fake.eventLog, [] { return 0u; }};
            std::unique_ptr<platform::MixerDevice> device;
            ASSERT_EQ(mixer.open(0, device), platform::kMixerNoError);
        }
        EXPECT_FALSE(outputs.holdsCallback()) << refused;
    }
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
