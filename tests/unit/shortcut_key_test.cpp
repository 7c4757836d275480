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
    // The registrations the system holds, as (modifiers, key).
    std::vector<std::pair<unsigned, unsigned>> registered() {
        std::vector<std::pair<unsigned, unsigned>> keys;
        for (const auto& [owner, key] : fake.input.hotKeys) keys.push_back(key);
        return keys;
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
        {(kHotKeyShift << 8) | 0x7B, kModShift, 0x7B},  // Shift+F12
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

TEST_F(ShortcutKeyTest, AShortcutTheSystemRefusesIsReportedAndTheWorkingOneStays) {
    ASSERT_EQ(start(), -1);
    apply(kCtrlAltV);
    fake.input.hotKeyRefusal = 1409;  // held by another program
    apply(0x0642);
    ASSERT_EQ(fake.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.shown[0].text,
              "Unable to set the shortcut to open the controller. Error 1409");
    EXPECT_EQ(stored(), std::to_string(kCtrlAltV));
    EXPECT_EQ(registered(), (std::vector<std::pair<unsigned, unsigned>>{
                                {platform::kModControl | platform::kModAlt, 'V'}}));
}

TEST_F(ShortcutKeyTest, StartUpRegistersTheStoredShortcutAndIgnoresAValueThatIsNone) {
    struct Copy : AppTest {
        void TestBody() override {}
        using AppTest::fake;
        using AppTest::start;
    };
    for (std::uint32_t value : {kCtrlAltV, 0x10656u, 0x8056u, 0x0600u, 0u}) {
        SCOPED_TRACE(value);
        Copy copy;
        copy.fake.registry.createKey(RegistryRoot::CurrentUser, kKey);
        copy.fake.registry.setDword(RegistryRoot::CurrentUser, kKey, "hotkey", value);
        ASSERT_EQ(copy.start(), -1);
        EXPECT_EQ(copy.fake.input.hotKeys.size(), value == kCtrlAltV ? 1u : 0u);
        EXPECT_TRUE(copy.fake.messageBoxes.shown.empty());
    }
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

}  // namespace
}  // namespace qmx::testing
