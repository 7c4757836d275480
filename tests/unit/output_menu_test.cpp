// The tray menu's "Playback Device" submenu: the active outputs by name, the default marked, a
// choice that makes another output the default for every role.
#include <algorithm>
#include <optional>

#include "app/output_menu.h"
#include "app/switch_failure.h"
#include "app_harness.h"

namespace qmx::testing {
namespace {

using namespace resources::tray_menu;
using platform::IconId;

class OutputMenuTest : public ::testing::Test, protected Rig {};

TEST_F(OutputMenuTest, ListsTheActiveOutputsAfterTheSeparatorBeforeTheSystemsSoundTools) {
    const std::vector<std::string> base{"About", "-",          "Skin",
                                        "Vista", "Classic",    "Options",
                                        "-",     "Test Sound", "Keep Controller on Top",
                                        "-"};
    const std::vector<std::string> rest{"Open Volume Control (Windows)",
                                        "Adjust Audio Properties (Windows)",
                                        "-",
                                        "Korwen's Software Website",
                                        "-",
                                        "Close Velto Volume Controller"};
    const std::vector<std::vector<std::string>> cases{
        {}, {"Speakers"}, {"Speakers", "Headset", "HDMI Monitor"}};
    for (const auto& names : cases) {
        SCOPED_TRACE(names.size());
        Rig rig;
        // The system's ids are not the names.
        for (const auto& name : names) rig.outputs.add("{0.0.0}." + name, name);
        rig.outputs.add("unplugged", "Old Headset");
        rig.outputs.remove("unplugged");
        if (!names.empty()) rig.outputs.setDefault("{0.0.0}." + names.back());
        ASSERT_EQ(rig.start(), -1);
        rig.chooseFromMenu(0);
        const auto& menu = rig.fake.menus.popups.back();
        std::vector<std::string> expected = base;
        expected.push_back("Playback Device");
        if (names.empty()) expected.push_back("(No playback device)");
        expected.insert(expected.end(), names.begin(), names.end());
        expected.insert(expected.end(), rest.begin(), rest.end());
        std::vector<std::string> shown;
        for (const auto& item : menu.items) shown.push_back(item.caption);
        EXPECT_EQ(shown, expected);
        if (names.empty()) {
            EXPECT_EQ(menu.state.disabled, std::set<int>{NoPlaybackDevice});
        } else {
            const int last = FirstOutput + static_cast<int>(names.size()) - 1;
            EXPECT_TRUE(menu.state.checked.count(last));
            EXPECT_EQ(menu.state.radio.size(), names.size());
            EXPECT_EQ(std::count_if(menu.state.checked.begin(), menu.state.checked.end(),
                                    [](int id) { return id >= FirstOutput; }),
                      1);
        }
    }
}

TEST_F(OutputMenuTest, ChoosingAnotherOutputMakesItTheDefaultAndTheIconFollowsAtOnce) {
    outputs.add("speakers", "Speakers", 0.5f, false);
    outputs.add("headset", "Headset", 0.2f, true);
    ASSERT_EQ(start(), -1);
    fake.timers.advance(100);
    trayEvent(0x202);
    EXPECT_EQ(trayIcon(), IconId::TrayNormal);
    chooseFromMenu(FirstOutput + 1);
    for (platform::Role role : platform::kRoles) EXPECT_EQ(outputs.defaultFor(role), "headset");
    EXPECT_EQ(trayIcon(), IconId::TrayMuted);  // without waiting for the next poll
    EXPECT_EQ(label(), "20");
    chooseFromMenu(FirstOutput + 1);  // the default for every role already: nothing happens
    EXPECT_EQ(outputs.defaultsSet.size(), 3u);
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

// The headset is the console default, the speakers the multimedia and communications one, and
// the headset is chosen: the two roles that differ are switched. A role's switch that fails puts
// back those already switched; each role is read again, and the message says what is true. The
// log tells each role's outcome with the policy-config pairing that answered.
TEST_F(OutputMenuTest, EveryRoleIsSwitchedOrTheMessageSaysWhichStaySwitched) {
    using platform::Role;
    using Answer = fakes::FakeAudioEndpoints::SetDefaultAnswer;
    using Lines = std::vector<std::string>;
    constexpr std::uint32_t kDenied = 0x80070005;
    const std::string refused = "Unable to switch the playback device. Error 2147942405";
    const std::string through = " through the Windows 7 policy config";
    const struct {
        std::vector<Answer> answers;  // of the system's successive switches
        bool readsFail;               // no role's default can be read
        Lines defaults;               // console, multimedia, communications afterwards
        std::string message;
        Lines log = {};                         // where told here
        bool headsetForCommunications = false;  // as Windows often makes a headset
    } cases[] = {
        {{}, false, {"headset", "headset", "headset"}, ""},
        {{{kDenied}}, false, {"headset", "speakers", "speakers"}, refused},
        {{{0}, {kDenied}}, false, {"headset", "speakers", "speakers"}, refused},
        // Multimedia cannot be put back.
        {{{0}, {kDenied}, {kDenied}},
         false,
         {"headset", "headset", "speakers"},
         refused + " The chosen device stays the default for multimedia.",
         {"Default output for multimedia set to headset" + through,
          "Default output for communications set to headset failed 0x80070005" + through,
          "Default output for multimedia put back to speakers failed 0x80070005" + through}},
        // Communications was switched although refused, and multimedia stays: made after all.
        {{{0}, {platform::kRpcDisconnected, true}, {kDenied}},
         false,
         {"headset", "headset", "headset"},
         ""},
        // No previous default known: console and multimedia are switched and cannot be put back.
        {{{0}, {0}, {kDenied}},
         true,
         {"headset", "headset", "speakers"},
         refused + " The chosen device stays the default for console and multimedia."},
        // Multimedia put back, then the audio service stops: no role can be read again, and the
        // one put back is not said to stay switched.
        {{{0}, {kDenied}, {0, false, true}}, false, {"headset", "speakers", "speakers"}, refused},
        // Multimedia refused first: communications had the headset before, nothing was switched.
        {{{kDenied}}, false, {"headset", "speakers", "headset"}, refused, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message + " " + std::to_string(c.answers.size()));
        Rig rig;
        rig.fake.eventLog.start();
        rig.outputs.add("speakers", "Speakers");
        rig.outputs.add("headset", "Headset", 0.2f, true);
        rig.outputs.setDefault(Role::Console, "headset");
        if (c.headsetForCommunications) rig.outputs.setDefault(Role::Communications, "headset");
        ASSERT_EQ(rig.start(), -1);
        rig.outputs.setDefaultAnswers.assign(c.answers.begin(), c.answers.end());
        if (c.readsFail) {
            rig.fake.menus.whileMenuOpen = [&] {
                rig.outputs.failing["GetDefaultAudioEndpoint"] = 0x80004005;
            };
        }
        const std::size_t before = rig.fake.logFile.lines().size();
        rig.chooseFromMenu(FirstOutput + 1);
        Lines now;
        for (Role role : platform::kRoles) now.push_back(rig.outputs.defaultFor(role));
        EXPECT_EQ(now, c.defaults);
        EXPECT_EQ(rig.firstMessage(), c.message);
        if (c.log.empty()) continue;
        const Lines lines = rig.fake.logFile.lines();
        Lines told = c.log;
        told.push_back("Message shown: " + c.message);
        EXPECT_EQ(Lines(lines.begin() + static_cast<long>(before), lines.end()), told);
    }
}

// The system has no words for the audio codes: the program gives its own, and one reason
// whichever policy-config pairing was tried last when none answers.
TEST(SwitchFailure, TheAudioCodesAreSaidInWords) {
    const std::pair<std::uint32_t, std::string> cases[] = {
        {0x88890010, "The audio service is not running."},  // AUDCLNT_E_SERVICE_NOT_RUNNING
        {0x800706BA, "The audio service is not running."},  // RPC_S_SERVER_UNAVAILABLE
        {0x80010108, "The audio service is not running."},  // RPC_E_DISCONNECTED
        {0x800706BE, "The audio service is not running."},  // RPC_S_CALL_FAILED
        {0x88890004, "The device is not connected."},       // AUDCLNT_E_DEVICE_INVALIDATED
        {0x80070490, "The device is not connected."},       // E_NOTFOUND
        {0x8889000A, "Another program uses the device exclusively."},  // AUDCLNT_E_DEVICE_IN_USE
        {0x80040154, "This version of Windows does not let programs choose the playback device."},
        {0x88890001, "Error 2290679809"},  // the system's words, or its number
    };
    fakes::CallLog calls;
    fakes::FakeShell shell{calls};
    for (const auto& [code, reason] : cases) {
        EXPECT_EQ(app::switchFailureMessage({code, false, {}}, shell),
                  "Unable to switch the playback device. " + reason)
            << std::hex << code;
    }
}

TEST_F(OutputMenuTest, AFailedSwitchIsReportedAndChangesNothing) {
    outputs.add("speakers", "Speakers");
    outputs.add("headset", "Headset");
    ASSERT_EQ(start(), -1);
    outputs.setDefaultAnswers = {{0x80070005}};
    chooseFromMenu(FirstOutput + 1);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text,
              "Unable to switch the playback device. Error 2147942405");
    EXPECT_EQ(fake.messageBoxes.shown[0].owner, fake.windows.idOf("Form2"));
    EXPECT_EQ(fake.messageBoxes.shown[0].flags, 0x30u);
    EXPECT_EQ(outputs.defaultId, "speakers");
    EXPECT_EQ(advance(300), -1);  // the program runs on
    // Unplugged while the menu was open: said in words.
    fake.menus.whileMenuOpen = [&] { outputs.remove("headset"); };
    chooseFromMenu(FirstOutput + 1);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 2u);
    EXPECT_EQ(fake.messageBoxes.shown[1].text,
              "Unable to switch the playback device. The device is not connected.");
}

TEST_F(OutputMenuTest, WithTheLegacyMixerTheMenuIsTheDocumentedOne) {
    Program legacy;
    ASSERT_EQ(legacy.start(), -1);
    legacy.chooseFromMenu(0);
    const auto& items = legacy.fake.menus.popups.back().items;
    const auto base = resources::trayMenu();
    ASSERT_EQ(items.size(), base.size());
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].id, base[i].id);
}

// The About box's device line carries the name as it is, a long one cut where a character ends
// and marked with "…".
TEST_F(OutputMenuTest, TheAboutBoxNamesTheOutputInAnyLanguage) {
    const std::string headphones =
        "\xD0\x9D\xD0\xB0\xD1\x83\xD1\x88\xD0\xBD\xD0\xB8\xD0\xBA\xD0\xB8";
    const std::pair<std::string, std::string> cases[] = {
        {headphones, headphones},
        {headphones + " " + headphones,
         headphones + " " + headphones.substr(0, 10) + "\xE2\x80\xA6"},
        {"Speakers\tRealtek", "Speakers Realtek"},
    };
    for (const auto& [name, shown] : cases) {
        Rig rig;
        rig.outputs.add("hp", name);
        ASSERT_EQ(rig.start(), -1);
        rig.app.about().show();
        EXPECT_EQ(rig.aboutDevice(), "Mixer : " + shown);
    }
}

TEST(OutputMenuCaption, ShowsAnAmpersandAsItselfControlCharactersAsSpacesAndCutsALongName) {
    const std::string sixtyFour(64, 'x');
    const std::string cyrillic64 = [] {
        std::string text;
        for (int i = 0; i < 64; ++i) text += "\xD0\x96";  // Ж
        return text;
    }();
    const std::pair<std::string, std::string> cases[] = {
        {"Speakers & Mic", "Speakers && Mic"},
        {"Lautsprecher (Realtek\xC2\xAE Audio)", "Lautsprecher (Realtek\xC2\xAE Audio)"},
        {sixtyFour, sixtyFour},
        {sixtyFour + "y", std::string(63, 'x') + "\xE2\x80\xA6"},
        {cyrillic64, cyrillic64},
        {cyrillic64 + "\xD0\x96", cyrillic64.substr(0, 126) + "\xE2\x80\xA6"},
        {std::string(70, '&'), std::string(126, '&') + "\xE2\x80\xA6"},
        {"Speakers\tRealtek", "Speakers Realtek"},  // a tab would start the accelerator column
        {"A\x01"
         "B\x7F"
         "C\xC2\x85"
         "D\xC2\x9F"
         "E\xC2\xA0"
         "F",
         "A B C D E\xC2\xA0"
         "F"},
        {"", "(Unnamed device)"},  // a device just plugged in may have no name yet
        {" \t", "(Unnamed device)"},
        {"\xC2\xA0", "(Unnamed device)"},                  // no-break space
        {"\xE2\x80\x8B\xE2\x80\x8D", "(Unnamed device)"},  // zero-width space, joiner
        {"\xE2\x80\x8C \xE2\x81\xA0\xEF\xBB\xBF",
         "(Unnamed device)"},  // non-joiner, word joiner, BOM
    };
    for (const auto& [name, caption] : cases) {
        EXPECT_EQ(app::OutputMenu::captionFor(name), caption) << name;
    }
}

}  // namespace
}  // namespace qmx::testing
