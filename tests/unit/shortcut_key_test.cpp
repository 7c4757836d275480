// The shortcut key that opens the controller from anywhere: chosen in Options, stored per user,
// registered with the system, refused by it, pressed.
#include "app_harness.h"
#include "resources/controller_form.h"
#include "resources/options_form.h"

namespace qmx::testing {
namespace {

using platform::RegistryRoot;
const std::string kKey = "Software\\Korwen's Software\\Velto Volume Controller\\4.0";
namespace opt = resources::options;
constexpr std::uint32_t kCtrlAltV = 0x0656;  // the box's Control (2) and Alt (4), and V
constexpr unsigned kCtrlAlt = platform::kModControl | platform::kModAlt;  // as registered
const std::string kTaken = "Unable to set the shortcut to open the controller. Error 1409";

class ShortcutKeyTest : public AppTest {
protected:
    void SetUp() override { fake.registry.createKey(RegistryRoot::CurrentUser, kKey); }
    // Chooses `value` in the Options dialog's shortcut box and applies.
    void apply(std::uint32_t value) {
        app.options().show();
        const auto dialog = fake.windows.idOf("Form4");
        fake.windows.setControlValue(dialog, opt::HotKey1, static_cast<int>(value));
        fake.windows.deliver(dialog, [](auto& e) { e.onClick(opt::Command1); });
    }
    std::string stored() {
        const auto* key = fake.registry.find(RegistryRoot::CurrentUser, kKey);
        const auto it = key->find("hotkey");
        return it == key->end()
                   ? "none"
                   : std::to_string(it->second.data.at(0) | it->second.data.at(1) << 8);
    }
    // The registrations the system holds, as (modifiers, key), whether or not they keep a held
    // key from repeating.
    std::vector<std::pair<unsigned, unsigned>> registered() {
        std::vector<std::pair<unsigned, unsigned>> keys;
        for (const auto& [owner, key] : fake.input.hotKeys) {
            keys.emplace_back(key.first & ~platform::kModNoRepeat, key.second);
        }
        return keys;
    }
    void closeOptions() {
        fake.windows.deliver(fake.windows.idOf("Form4"), [](auto& e) { e.onClose(); });
    }
    void press() {
        const int id = fake.input.hotKeys.begin()->first.second;
        fake.windows.deliver(hostWindow(), [id](auto& e) { e.onHotKey(id); });
    }
};

// The box's Shift bit is the registration's Alt, and its Alt bit the registration's Shift.
TEST_F(ShortcutKeyTest, ApplyStoresTheBoxsValueAndRegistersItWithTheRegistrationsModifiers) {
    using namespace platform;
    ASSERT_EQ(start(), -1);
    const struct {
        std::uint32_t box;
        unsigned modifiers, key;
    } cases[] = {
        {kCtrlAltV, kModControl | kModAlt, 'V'},
        {((kHotKeyControl | kHotKeyShift) << 8) | 0x7B, kModControl | kModShift, 0x7B},
        {((kHotKeyAlt | kHotKeyShift | kHotKeyExtended) << 8) | 0x24, kModAlt | kModShift, 0x24},
    };
    for (const auto& c : cases) {
        apply(c.box);
        EXPECT_EQ(stored(), std::to_string(c.box));
        EXPECT_EQ(registered(), (std::vector<std::pair<unsigned, unsigned>>{{c.modifiers, c.key}}));
    }
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    // The box shows the shortcut in use when the dialog opens again; cleared, it removes it.
    app.options().show();
    EXPECT_EQ(fake.windows.controlValue(fake.windows.idOf("Form4"), opt::HotKey1),
              static_cast<int>(cases[2].box));
    apply(0);
    EXPECT_EQ(stored(), "none");
    EXPECT_TRUE(registered().empty());
}

// The refusal is told while the dialog stays open for another key, with nothing stored
// meanwhile; the working shortcut stays.
TEST_F(ShortcutKeyTest, AShortcutTheSystemRefusesIsReportedAndTheWorkingOneStays) {
    ASSERT_EQ(start(), -1);
    apply(kCtrlAltV);
    fake.input.hotKeyRefusals[{kCtrlAlt | platform::kModNoRepeat, 'B'}] = 1409;  // held elsewhere
    app.options().show();
    const auto dialog = fake.windows.idOf("Form4");
    app.options().chkShadow().clickedByUser();
    apply(0x0642);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text, kTaken);
    EXPECT_EQ(fake.windows.idOf("Form4"), dialog);
    EXPECT_EQ(fake.input.focus, std::pair(dialog, int{opt::HotKey1}));
    closeOptions();
    EXPECT_EQ(fake.registry.find(RegistryRoot::CurrentUser, kKey)->count("shadow"), 0u);
    EXPECT_EQ(stored(), std::to_string(kCtrlAltV));
    EXPECT_EQ(registered(), (std::vector<std::pair<unsigned, unsigned>>{{kCtrlAlt, 'V'}}));
}

// While Options is open the shortcut is the system's no more, so that pressing it in the box
// types it; however the dialog closes, the stored one is registered again, and its loss to
// another program meanwhile is told.
TEST_F(ShortcutKeyTest, OptionsLetsTheShortcutGoWhileOpen) {
    fake.registry.setDword(RegistryRoot::CurrentUser, kKey, "hotkey", kCtrlAltV);
    ASSERT_EQ(start(), -1);
    app.options().show();
    EXPECT_TRUE(registered().empty());
    closeOptions();
    EXPECT_EQ(registered().size(), 1u);
    // The same keys with the box's extended-key flag: ours, so taken at once.
    apply(kCtrlAltV | platform::kHotKeyExtended << 8);
    EXPECT_EQ(stored(), std::to_string(kCtrlAltV | platform::kHotKeyExtended << 8));
    EXPECT_EQ(registered().size(), 1u);
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
    app.options().show();
    fake.input.hotKeyRefusals[{kCtrlAlt | platform::kModNoRepeat, 'V'}] = 1409;
    closeOptions();
    EXPECT_EQ(fake.messageBoxes.shown.size(), 1u);
    // A new one applied is the system's only once the dialog's message has gone.
    app.options().show();
    app.options().chkShadow().clickedByUser();
    fake.messageBoxes.whileShown = [this](const auto&) { EXPECT_TRUE(registered().empty()); };
    apply(0x0642);
    EXPECT_EQ(fake.messageBoxes.shown.size(), 2u);
    EXPECT_EQ(registered(), (std::vector<std::pair<unsigned, unsigned>>{{kCtrlAlt, 'B'}}));
}

// A stored shortcut the system refused at start-up shows in the box as it is; applied unchanged
// it stays stored, is tried again quietly, and holds nothing else back; None and Apply remove it.
// Closing the dialog tells no refusal again.
TEST_F(ShortcutKeyTest, AStoredShortcutRefusedAtStartUpIsClearedWithNone) {
    fake.registry.setDword(RegistryRoot::CurrentUser, kKey, "hotkey", kCtrlAltV);
    fake.input.hotKeyRefusals[{kCtrlAlt | platform::kModNoRepeat, 'V'}] = 1409;
    ASSERT_EQ(start(), -1);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    app.options().show();
    EXPECT_EQ(fake.windows.controlValue(fake.windows.idOf("Form4"), opt::HotKey1),
              static_cast<int>(kCtrlAltV));
    app.options().chkShadow().clickedByUser();
    apply(kCtrlAltV);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 2u);
    EXPECT_EQ(fake.messageBoxes.shown[1].text,
              "The shadow will be applied when you launch the application next time.");
    EXPECT_FALSE(app.options().loaded());
    EXPECT_EQ(stored(), std::to_string(kCtrlAltV));
    fake.input.hotKeyRefusals.clear();
    app.options().show();
    closeOptions();
    EXPECT_EQ(registered().size(), 1u);  // tried again, and free now
    apply(0);
    EXPECT_EQ(stored(), "none");
    EXPECT_TRUE(registered().empty());
    EXPECT_EQ(fake.messageBoxes.shown.size(), 2u);
}

// At start-up the stored shortcut is registered as the box would make it: a hand-edited value
// with a key alone or one modifier gets Ctrl+Alt (never the bare key for every program), one that
// is no shortcut registers nothing. Windows 7 and later keep a held shortcut from repeating
// (MOD_NOREPEAT); before, the flag is not asked for, and a refusal of it in other words than
// "taken" is tried again without it. The log tells which.
TEST(ShortcutKeyStartUp, RegistersTheStoredShortcutAsTheBoxWouldMakeItWithoutRepeating) {
    using platform::kModControl, platform::kModShift, platform::kModNoRepeat;
    using Windows = std::pair<std::uint32_t, std::uint32_t>;
    const Windows vista{6, 0}, seven{6, 1}, ten{10, 0};
    const auto with = [](const std::string& keys) {
        return "Shortcut " + keys + " registered with MOD_NOREPEAT";
    };
    const std::string refused = "Shortcut Ctrl+Alt+V refused ";
    const std::string without = "Shortcut Ctrl+Alt+V registered without MOD_NOREPEAT";
    const struct {
        std::uint32_t value;
        Windows windows;
        std::uint32_t refusal;  // of the registration with MOD_NOREPEAT
        unsigned modifiers;     // as registered; 0: none
        std::vector<std::string> lines;
    } cases[] = {
        {kCtrlAltV, seven, 0, kCtrlAlt | kModNoRepeat, {with("Ctrl+Alt+V")}},
        {kCtrlAltV, ten, 0, kCtrlAlt | kModNoRepeat, {with("Ctrl+Alt+V")}},
        {kCtrlAltV, vista, 0, kCtrlAlt, {without}},
        {kCtrlAltV, seven, 87, kCtrlAlt, {refused + "87 with MOD_NOREPEAT", without}},
        {kCtrlAltV, seven, 1409, 0, {refused + "1409", "Message shown: " + kTaken}},
        {0x56, seven, 0, kCtrlAlt | kModNoRepeat, {with("Ctrl+Alt+V")}},
        {0x0156, seven, 0, kCtrlAlt | kModShift | kModNoRepeat, {with("Ctrl+Alt+Shift+V")}},
        {0x0256, seven, 0, kCtrlAlt | kModNoRepeat, {with("Ctrl+Alt+V")}},
        {0x0456, seven, 0, kCtrlAlt | kModNoRepeat, {with("Ctrl+Alt+V")}},
        {0x0356, seven, 0, kModControl | kModShift | kModNoRepeat, {with("Ctrl+Shift+V")}},
        {0x10656, seven, 0, 0, {}},
        {0x8056, seven, 0, 0, {}},
        {0x0600, seven, 0, 0, {}},
        {0, seven, 0, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        Program copy;
        copy.fake.eventLog.start();
        copy.fake.system.osVersion = {c.windows.first, c.windows.second, 0, 2};
        copy.fake.registry.setDword(RegistryRoot::CurrentUser, kKey, "hotkey", c.value);
        if (c.refusal) copy.fake.input.hotKeyRefusals[{kCtrlAlt | kModNoRepeat, 'V'}] = c.refusal;
        ASSERT_EQ(copy.start(), -1);
        EXPECT_EQ(copy.fake.logFile.lines(), c.lines);
        ASSERT_EQ(copy.fake.input.hotKeys.size(), c.modifiers ? 1u : 0u);
        if (c.modifiers) {
            EXPECT_EQ(copy.fake.input.hotKeys.begin()->second, std::pair(c.modifiers, 0x56u));
        }
    }
}

// A Windows that refused MOD_NOREPEAT is asked for it no more in this run.
TEST_F(ShortcutKeyTest, ANoRepeatRefusedOnceIsAskedForNoMore) {
    fake.eventLog.start();
    fake.registry.setDword(RegistryRoot::CurrentUser, kKey, "hotkey", kCtrlAltV);
    fake.input.hotKeyRefusals[{kCtrlAlt | platform::kModNoRepeat, 'V'}] = 87;
    ASSERT_EQ(start(), -1);
    app.options().show();
    closeOptions();
    EXPECT_EQ(fake.logFile.lines(),
              (std::vector<std::string>{"Shortcut Ctrl+Alt+V refused 87 with MOD_NOREPEAT",
                                        "Shortcut Ctrl+Alt+V registered without MOD_NOREPEAT"}));
}

// The log tells each registration that holds once: not again when Options gives the same
// shortcut back, but again after a refusal or a removal.
TEST_F(ShortcutKeyTest, TheLogTellsARegistrationOnce) {
    fake.eventLog.start();
    ASSERT_EQ(start(), -1);
    const std::string b = "Shortcut Ctrl+Alt+B registered with MOD_NOREPEAT";
    apply(0x0642);
    app.options().show();
    closeOptions();
    fake.input.hotKeyRefusals[{kCtrlAlt | platform::kModNoRepeat, 'B'}] = 1409;
    app.options().show();
    closeOptions();
    fake.input.hotKeyRefusals.clear();
    app.options().show();
    closeOptions();
    apply(0);
    apply(0x0642);
    std::vector<std::string> lines = fake.logFile.lines();
    std::erase_if(lines, [](const std::string& line) { return !line.starts_with("Shortcut"); });
    EXPECT_EQ(lines, (std::vector<std::string>{b, "Shortcut Ctrl+Alt+B refused 1409", b, b}));
}

TEST_F(ShortcutKeyTest, PressedItOpensTheControllerInFrontAndAgainClosesIt) {
    fake.registry.setDword(RegistryRoot::CurrentUser, kKey, "hotkey", kCtrlAltV);
    ASSERT_EQ(start(), -1);
    press();
    ASSERT_TRUE(app.controller().loaded());
    const auto controller = fake.windows.idOf("Form1");
    EXPECT_EQ(fake.windows.foreground, controller);
    EXPECT_EQ(fake.input.focus.second, int{resources::controller::Knob});
    press();
    EXPECT_TRUE(app.controller().timer1().enabled());  // fading out, as after its close button
    fake.timers.advance(1000);
    EXPECT_FALSE(app.controller().loaded());
    // Open but behind another program's window: it comes to the front instead.
    press();
    fake.windows.foreground = platform::kNoWindow;
    press();
    EXPECT_FALSE(app.controller().timer1().enabled());
    EXPECT_EQ(fake.windows.foreground, fake.windows.idOf("Form1"));
}

// Pressed during the fade-out, it opens the controller: the fade stops and the same controller
// stands, following the volume. While the tray menu is up it does nothing.
TEST_F(ShortcutKeyTest, DuringTheFadeOutItKeepsTheControllerAndDuringTheMenuNothing) {
    fake.registry.setDword(RegistryRoot::CurrentUser, kKey, "hotkey", kCtrlAltV);
    ASSERT_EQ(start(), -1);
    press();
    const auto controller = fake.windows.idOf("Form1");
    press();
    fake.timers.advance(300);
    ASSERT_LT(fake.windows.windows.at(controller).alpha, 255);
    press();
    fake.timers.advance(3000);
    EXPECT_EQ(fake.windows.idOf("Form1"), controller);
    EXPECT_EQ(fake.windows.windows.at(controller).alpha, 255);
    EXPECT_TRUE(app.controller().tmrsyncvol().enabled());
    EXPECT_EQ(fake.input.focus, std::pair(controller, int{resources::controller::Knob}));

    app.controller().unload();
    fake.menus.whileMenuOpen = [this] { press(); };
    trayEvent(0x204);
    EXPECT_FALSE(app.controller().loaded());
}

}  // namespace
}  // namespace qmx::testing
