#include "controller_harness.h"
#include "resources/tray_menu.h"

namespace qmx::testing {
namespace {

using namespace resources::tray_menu;
using platform::RegistryRoot;
const std::string kKey = "Software\\Korwen's Software\\Velto Volume Controller\\4.0";

class MenuCommands : public AppTest {
protected:
    void SetUp() override {
        fake.registry.createKey(RegistryRoot::CurrentUser, kKey);
        ASSERT_EQ(start(), -1);
    }
    std::string stored(const std::string& name) {
        auto* key = fake.registry.find(RegistryRoot::CurrentUser, kKey);
        auto it = key->find(name);
        if (it == key->end()) return "<absent>";
        const auto& data = it->second.data;
        if (it->second.type == platform::kRegDword) return std::to_string(data.at(0));
        return std::string(data.begin(), data.end());
    }
    void notify(int code, std::uint32_t device) {
        fake.windows.deliver(hostWindow(), [=](auto& e) { e.onMultimediaNotify(code, device); });
    }
    int created(const std::string& form) {
        return static_cast<int>(fake.log.count("windows.create " + form));
    }
};

TEST_F(MenuCommands, AboutAndOptionsOpenOnceAndComeToTheFrontWhenChosenAgain) {
    chooseFromMenu(Abt);
    chooseFromMenu(Opt);
    EXPECT_EQ(fake.windows.foreground, fake.windows.idOf("Form4"));
    chooseFromMenu(Abt);
    EXPECT_EQ(fake.windows.foreground, fake.windows.idOf("Form3"));
    chooseFromMenu(Opt);
    EXPECT_EQ(fake.windows.foreground, fake.windows.idOf("Form4"));
    EXPECT_EQ(created("Form3"), 1);
    EXPECT_EQ(created("Form4"), 1);
    EXPECT_TRUE(fake.windows.find("Form3")->shown);
    EXPECT_TRUE(fake.windows.find("Form4")->shown);
}

TEST_F(MenuCommands, SkinsAreStoredAndOpenAClosedControllerWithoutFollowingTheVolume) {
    chooseFromMenu(Vista);
    EXPECT_EQ(stored("skin"), "vista");
    ASSERT_TRUE(app.controller().loaded());
    EXPECT_TRUE(fake.windows.find("Form1")->shown);
    EXPECT_EQ(fake.windows.find("Form1")->pictures.at(platform::kFormItself),
              platform::PictureId::VistaSkin);
    EXPECT_FALSE(app.controller().tmrsyncvol().enabled());
    chooseFromMenu(Classic);
    EXPECT_EQ(stored("skin"), "classic");
    EXPECT_EQ(created("Form1"), 2);  // start-up's, then this one, kept open
    EXPECT_TRUE(app.controller().image5().visible());
    EXPECT_FALSE(app.controller().image6().visible());
    EXPECT_EQ(app.controller().chkmute().top(), 2250.0f);
    // The check marks follow at the next popup.
    chooseFromMenu(0);
    EXPECT_EQ(fake.menus.popups.back().state.checked, (std::set<int>{Classic}));
}

TEST_F(MenuCommands, KeepOnTopTogglesTheMarkTheValueAndTheZOrder) {
    chooseFromMenu(Ontop);
    EXPECT_EQ(stored("ontopstat"), "1");
    EXPECT_TRUE(app.menu().isChecked(Ontop));
    ASSERT_TRUE(app.controller().loaded());
    EXPECT_TRUE(fake.windows.find("Form1")->topMost);
    EXPECT_TRUE(fake.windows.find("Form1")->shown);
    chooseFromMenu(Ontop);
    EXPECT_EQ(stored("ontopstat"), "0");
    EXPECT_FALSE(app.menu().isChecked(Ontop));
    EXPECT_FALSE(fake.windows.find("Form1")->topMost);
    EXPECT_EQ(fake.log.calls.back(), "registry.set ontopstat");
}

TEST_F(MenuCommands, TestSoundPlaysTheFileBesideTheProgramAndClosesTheDeviceAfterwards) {
    fake.sound.files.insert("C:\\Program Files\\Velto\\POURING.WAV");
    chooseFromMenu(Ts);
    EXPECT_GE(fake.log.indexOf("sound.open WaveAudio C:\\Program Files\\Velto\\POURING.WAV"), 0);
    EXPECT_GE(fake.log.indexOf("sound.play"), 0);
    EXPECT_EQ(fake.sound.notifyWindow, hostWindow());
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    EXPECT_EQ(fake.sound.openDevices.size(), 1u);
    notify(platform::kMciNotifySuccessful, *fake.sound.openDevices.begin());
    EXPECT_TRUE(fake.sound.openDevices.empty());
    EXPECT_EQ(app.trayHost().mmc1().FileName, "");
    // The next Test Sound opens the device again.
    chooseFromMenu(Ts);
    EXPECT_EQ(fake.sound.openDevices.size(), 1u);
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

// Test Sound chosen again while the sound plays: the playing one stops and closes, the new one
// plays, and no "missing file" message appears.
TEST_F(MenuCommands, TestSoundDuringTheSoundStartsItAgainWithoutAMessage) {
    fake.sound.files.insert("C:\\Program Files\\Velto\\POURING.WAV");
    chooseFromMenu(Ts);
    const std::uint32_t first = *fake.sound.openDevices.begin();
    chooseFromMenu(Ts);
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    ASSERT_EQ(fake.sound.openDevices.size(), 1u);
    const std::uint32_t second = *fake.sound.openDevices.begin();
    EXPECT_EQ(first, second);  // the closed device's number comes back
    // The stopped sound's late notification leaves the new one playing; its own end closes it.
    notify(platform::kMciNotifyAborted, first);
    EXPECT_EQ(fake.sound.openDevices.size(), 1u);
    notify(platform::kMciNotifySuccessful, second);
    EXPECT_TRUE(fake.sound.openDevices.empty());
}

// The first sound has ended, but its notice is still queued when Test Sound is chosen again:
// that late notice must not stop the new sound, which has the same device number.
TEST_F(MenuCommands, ALateNoticeOfTheEndedSoundLeavesTheNextOnePlaying) {
    fake.sound.files.insert("C:\\Program Files\\Velto\\POURING.WAV");
    chooseFromMenu(Ts);
    const std::uint32_t device = *fake.sound.openDevices.begin();
    chooseFromMenu(Ts);  // before the first sound's "successful" is handled
    notify(platform::kMciNotifySuccessful, device);
    EXPECT_EQ(fake.sound.openDevices.size(), 1u);
    EXPECT_EQ(fake.log.count("sound.stop"), 1);  // only the first sound was stopped
    notify(platform::kMciNotifySuccessful, device);
    EXPECT_TRUE(fake.sound.openDevices.empty());
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

TEST_F(MenuCommands, APlayThatFailsOrIsAbortedLeavesNoDeviceOpen) {
    fake.sound.files.insert("C:\\Program Files\\Velto\\POURING.WAV");
    fake.sound.failPlay = 5;
    chooseFromMenu(Ts);
    EXPECT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_TRUE(fake.sound.openDevices.empty());
    fake.sound.failPlay = 0;
    chooseFromMenu(Ts);  // works again
    EXPECT_EQ(fake.messageBoxes.shown.size(), 1u);
    ASSERT_EQ(fake.sound.openDevices.size(), 1u);
    notify(platform::kMciNotifyAborted, *fake.sound.openDevices.begin());  // stopped elsewhere
    EXPECT_TRUE(fake.sound.openDevices.empty());
}

TEST_F(MenuCommands, TestSoundWithoutTheFileShowsTheMessageForOpenAndForPlay) {
    chooseFromMenu(Ts);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 2u);
    for (const auto& box : fake.messageBoxes.shown) {
        EXPECT_EQ(box.text,
                  "The .wav file referred by the Velto Volume Controller is missing. Please "
                  "reinstall the program to install the sound file. ");
        EXPECT_EQ(box.flags, 0x30u);
        EXPECT_EQ(box.caption, "Velto Volume Controller 4.0");
    }
}

TEST_F(MenuCommands, TheSystemsProgramsAreStartedLikeTheControllersButtons) {
    fake.system.osVersion = {6, 2, 9200, 2};
    chooseFromMenu(Omc);
    EXPECT_EQ(fake.shell.started.back(), "\"C:\\Windows\\system32\\SndVol.exe\"");
    fake.system.osVersion = {5, 1, 2600, 2};
    chooseFromMenu(Omc);
    EXPECT_EQ(fake.shell.started.back(), "\"C:\\Windows\\system32\\sndvol32.exe\"");
    chooseFromMenu(Adjap);
    EXPECT_EQ(fake.shell.started.back(),
              "\"C:\\Windows\\system32\\rundll32.exe\" shell32.dll,Control_RunDLL mmsys.cpl");
    for (const auto& folder : fake.shell.startedIn) EXPECT_EQ(folder, "C:\\Windows\\system32");
    fake.shell.startError = 2;
    chooseFromMenu(Omc);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text,
              "Unable to open Windows Volume Control File not found.");
}

TEST_F(MenuCommands, TheWebSiteOpensWithTheShellUnderTheReservedDomain) {
    chooseFromMenu(Web);
    ASSERT_EQ(fake.shell.openedAddresses.size(), 1u);
    EXPECT_NE(fake.shell.openedAddresses[0].find(".example/"), std::string::npos);
}

TEST_F(MenuCommands, CloseEndsTheProgramWithItsWindowsOpen) {
    chooseFromMenu(Abt);
    chooseFromMenu(Opt);
    chooseFromMenu(Vista);
    fake.menus.menuChoice = Exitqmx;
    EXPECT_EQ(exitCodeOf([this] { chooseFromMenu(Exitqmx); }), 0);
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

}  // namespace
}  // namespace qmx::testing
