#include <algorithm>
#include <optional>
#include <vector>

#include "app_harness.h"
#include "resources/controller_form.h"
#include "resources/tray_menu.h"

namespace qmx::testing {
namespace {

using namespace resources::tray_menu;
const std::string kKey = "Software\\Korwen's Software\\Velto Volume Controller\\4.0";
constexpr auto kUser = platform::RegistryRoot::CurrentUser;

class TrayCallback : public AppTest {
protected:
    void SetUp() override {
        fake.registry.createKey(kUser, kKey);
        ASSERT_EQ(start(), -1);
    }
    int controllerCreations() { return static_cast<int>(fake.log.count("windows.create Form1")); }
};

TEST_F(TrayCallback, ALeftClickOpensTheControllerInTheStoredSkinAndFollowsTheVolume) {
    fake.registry.setString(kUser, kKey, "skin", "vista");
    fake.mixer.volume = 65535;
    trayEvent(0x202);
    const auto* window = fake.windows.find("Form1");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->shown);
    EXPECT_EQ(window->pictures.at(platform::kFormItself), platform::PictureId::VistaSkin);
    EXPECT_FALSE(app.controller().image5().visible());
    EXPECT_EQ(app.controller().chkmute().top(), 2220.0f);
    ASSERT_FALSE(fake.input.buttonClicks.empty());
    EXPECT_EQ(fake.input.buttonClicks.back().second, resources::controller::Command1);
    EXPECT_TRUE(app.controller().tmrsyncvol().enabled());

    fake.mixer.volume = 0;
    fake.timers.advance(10);
    EXPECT_EQ(app.controller().volumeLabel().caption(), "0");
    EXPECT_EQ(app.controller().knob().top(), 1850.0f);
}

TEST_F(TrayCallback, AbsentOrOtherSkinsOpenTheClassicSkin) {
    for (const char* skin : {"", "Vista", "classic", "vist"}) {
        if (*skin) fake.registry.setString(kUser, kKey, "skin", skin);
        trayEvent(0x202);
        EXPECT_EQ(fake.windows.find("Form1")->pictures.at(platform::kFormItself),
                  platform::PictureId::ClassicSkin)
            << skin;
        EXPECT_TRUE(app.controller().image5().visible());
        EXPECT_FALSE(app.controller().image6().visible());
        EXPECT_EQ(app.controller().chkmute().top(), 2250.0f);
    }
}

TEST_F(TrayCallback, ADoubleClickCreatesTheControllerThreeTimesAndShowsOne) {
    const int before = controllerCreations();
    for (int event : {0x201, 0x202, 0x203, 0x202}) trayEvent(event);
    EXPECT_EQ(controllerCreations() - before, 3);
    int shown = 0;
    for (const auto& [id, window] : fake.windows.windows) shown += window.name == "Form1";
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(app.trayHost().txtform1signal().text(), "1");
}

TEST_F(TrayCallback, AClickOnAnOpenControllerOpensItAfreshAtHome) {
    trayEvent(0x202);
    const auto first = fake.windows.idOf("Form1");
    fake.placement.setWindowPos(first, platform::ZOrder::NoTopMost, 5, 5, 0, 0, 0);
    trayEvent(0x202);
    const auto* window = fake.windows.find("Form1");
    EXPECT_NE(fake.windows.idOf("Form1"), first);
    EXPECT_EQ(std::tie(window->x, window->y), std::tuple(874, 548));
}

TEST_F(TrayCallback, OtherEventsDoNothing) {
    const auto calls = fake.log.calls.size();
    // (A pointer move, 0x200, starts watching the wheel over the icon: see the wheel's tests.)
    for (int event : {0x201, 0x205, 0x207, 0x208, 0x209}) trayEvent(event);
    EXPECT_EQ(fake.log.calls.size(), calls);
    EXPECT_TRUE(fake.menus.popups.empty());
}

TEST_F(TrayCallback, TheMenuShowsItsItemsTheStoredSettingsAndCloseAsDefault) {
    fake.registry.setDword(kUser, kKey, "ontopstat", 1);
    fake.registry.setString(kUser, kKey, "skin", "vista");
    trayEvent(0x204);
    ASSERT_EQ(fake.menus.popups.size(), 1u);
    const auto& popup = fake.menus.popups[0];
    // Level, caption and command of every entry, in order; separators are "-" with no command.
    const std::vector<std::tuple<int, std::string, int>> expected{
        {1, "About", Abt},
        {1, "-", 0},
        {1, "Skin", Skin},
        {2, "Vista", Vista},
        {2, "Classic", Classic},
        {1, "Options", Opt},
        {1, "-", 0},
        {1, "Test Sound", Ts},
        {1, "Keep Controller on Top", Ontop},
        {1, "-", 0},
        {1, "Open Volume Control (Windows)", Omc},
        {1, "Adjust Audio Properties (Windows)", Adjap},
        {1, "-", 0},
        {1, "Korwen's Software Website", Web},
        {1, "-", 0},
        {1, "Close Velto Volume Controller", Exitqmx},
    };
    std::vector<std::tuple<int, std::string, int>> shown;
    for (const auto& item : popup.items) shown.emplace_back(item.level, item.caption, item.id);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(popup.owner, hostWindow());
    EXPECT_TRUE(popup.ownerWasForeground);
    EXPECT_EQ(popup.state.checked, (std::set<int>{Ontop, Vista}));
    EXPECT_EQ(popup.state.defaultItem, Exitqmx);
    EXPECT_EQ(fake.windows.find("Form1"), nullptr);
}

TEST_F(TrayCallback, AnOnTopValueOtherThanZeroOrOneLeavesTheMarkAsItWas) {
    fake.registry.setDword(kUser, kKey, "ontopstat", 2);
    trayEvent(0x204);
    EXPECT_EQ(fake.menus.popups.back().state.checked, (std::set<int>{Classic}));
    fake.registry.setDword(kUser, kKey, "ontopstat", 1);
    trayEvent(0x204);
    fake.registry.setDword(kUser, kKey, "ontopstat", 5);
    trayEvent(0x204);
    EXPECT_EQ(fake.menus.popups.back().state.checked, (std::set<int>{Ontop, Classic}));
    fake.registry.setDword(kUser, kKey, "ontopstat", 0);
    trayEvent(0x204);
    EXPECT_EQ(fake.menus.popups.back().state.checked, (std::set<int>{Classic}));
}

TEST_F(TrayCallback, ClosingFromTheMenuEndsTheProgramAndTakesTheIconAway) {
    fake.menus.menuChoice = Exitqmx;
    EXPECT_EQ(exitCodeOf([this] { trayEvent(0x204); }), 0);
    const std::vector<std::string> tail(fake.log.calls.end() - 2, fake.log.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"shell.notifyIcon delete", "processes.exit 0"}));
}

TEST_F(TrayCallback, ACloseRequestOrTheEndOfTheSessionEndsTheProgramLikeClose) {
    const std::vector<std::string> ending{"shell.notifyIcon delete", "processes.exit 0"};
    for (bool sessionEnds : {false, true}) {
        Program other;
        other.start();
        EXPECT_EQ(exitCodeOf([&] {
                      other.fake.windows.deliver(
                          other.hostWindow(), [&](platform::WindowEvents& e) {
                              sessionEnds ? e.onSessionEnding() : e.onClose();
                          });
                  }),
                  0)
            << "session ends: " << sessionEnds;
        const auto& calls = other.fake.log.calls;
        const std::vector<std::string> tail(calls.end() - 2, calls.end());
        EXPECT_EQ(tail, ending);
    }
}

TEST_F(TrayCallback, ReadsTheEventFromTwipsAtAnyResolution) {
    fake.system.twipsX = 12;
    trayEvent(0x202);
    EXPECT_NE(fake.windows.find("Form1"), nullptr);
}

// The hidden host follows the primary monitor's scale: the events keep their meaning, and the
// tray icon is sent again at once for the shell to take it in the new size.
TEST_F(TrayCallback, AfterTheScaleChangesTheEventsKeepTheirMeaningAndTheIconGoesAgain) {
    const auto sent = fake.shell.trayCalls.size();
    fake.windows.changeDpi(hostWindow(), 144);
    ASSERT_EQ(fake.shell.trayCalls.size(), sent + 1);
    EXPECT_EQ(fake.shell.trayCalls.back().message, platform::TrayMessage::Modify);
    fake.windows.deliver(hostWindow(), [](platform::WindowEvents& e) {
        e.onPointerDown(platform::kFormItself, platform::kLeftButton, 0x202 * 10.0f, 0);
    });
    EXPECT_NE(fake.windows.find("Form1"), nullptr);
}

// The shell sends its callbacks; a click arriving while the controller is being opened (its
// thread waiting on another during activation, focus or showing) must leave one controller,
// set up whole, in the stored skin, showing and following the level.
TEST_F(TrayCallback, AClickArrivingWhileTheControllerOpensLeavesOneWholeController) {
    for (const char* call : {"createWindow", "setWindowPos", "showWindow", "clickButton",
                             "focusControl", "destroyWindow"}) {
        fake.mixer.volume = 65535 * 3 / 10;
        trayEvent(0x202);
        bool clicked = false;
        fake.windows.whileWaiting = [&](const std::string& name) {
            if (clicked || name != call) return;
            clicked = true;
            trayEvent(0x202);
        };
        trayEvent(0x202);
        fake.windows.whileWaiting = nullptr;
        EXPECT_TRUE(clicked) << call;
        int open = 0;
        for (const auto& [id, window] : fake.windows.windows) open += window.name == "Form1";
        ASSERT_EQ(open, 1) << call;
        const auto controller = fake.windows.idOf("Form1");
        const auto& window = fake.windows.windows.at(controller);
        EXPECT_TRUE(window.shown) << call;
        EXPECT_EQ(window.texts.at(resources::controller::Label2), "30") << call;
        EXPECT_EQ(window.pictures.at(platform::kFormItself), platform::PictureId::ClassicSkin)
            << call;
        EXPECT_TRUE(window.visible.at(resources::controller::Image5)) << call;
        EXPECT_FALSE(window.visible.at(resources::controller::Image6)) << call;
        EXPECT_EQ(fake.input.focus, std::pair(controller, int{resources::controller::Knob}))
            << call;
        fake.mixer.volume = 65535 / 2;
        fake.timers.advance(10);
        EXPECT_EQ(window.texts.at(resources::controller::Label2), "50") << call;
    }

    // A right click meanwhile brings the menu once the controller stands.
    fake.windows.whileWaiting = [&](const std::string& name) {
        if (name != "clickButton") return;
        fake.windows.whileWaiting = nullptr;
        trayEvent(0x204);
        EXPECT_TRUE(fake.menus.popups.empty());
    };
    trayEvent(0x202);
    EXPECT_EQ(fake.menus.popups.size(), 1u);
    EXPECT_EQ(fake.input.focus.second, int{resources::controller::Knob});
}

// Enter or Space on the icon opens the controller, Shift+F10 or the menu key pops the menu at the
// icon; a mouse click, which the shell reports a second way right after the release, acts once.
// Each event comes some milliseconds after the one before (the double-click time is 500 ms); where
// another program takes the front after each event, only the times decide.
TEST_F(TrayCallback, EachGestureIsOneActionByMouseOrKeyboard) {
    using platform::kTrayContextMenu, platform::kTrayKeySelect, platform::kTraySelect;
    const struct {
        const char* gesture;
        std::vector<std::pair<int, unsigned>> events;  // event, milliseconds after the last one
        bool othersTakeTheFront;
        int openings, menus;
        unsigned openingMs = 0;  // how long each opening of the controller takes
        unsigned wrapsIn = 0;    // the tick count wraps to 0 this long after the first event
    } cases[] = {
        {"left click", {{0x201, 0}, {0x202, 90}, {kTraySelect, 500}}, true, 1, 0},
        {"right click", {{0x204, 0}, {0x205, 90}, {kTrayContextMenu, 0}}, false, 0, 1},
        {"right press, then the request", {{0x204, 0}, {kTrayContextMenu, 500}}, false, 0, 1},
        {"double click", {{0x201, 0}, {0x202, 80}, {0x203, 150}, {kTraySelect, 0}}, true, 2, 0},
        {"a selection long after the release", {{0x202, 0}, {kTraySelect, 501}}, true, 2, 0},
        {"late, the tick count wrapping", {{0x202, 0}, {kTraySelect, 501}}, true, 2, 0, 0, 300},
        {"a click's slow opening", {{0x201, 0}, {0x202, 90}, {kTraySelect, 0}}, true, 1, 0, 600},
        {"a late menu request", {{0x204, 0}, {0x205, 90}, {kTrayContextMenu, 501}}, false, 0, 2},
        {"Enter or Space", {{kTrayKeySelect, 0}}, false, 1, 0},
        {"one Enter reported twice", {{kTrayKeySelect, 0}, {kTrayKeySelect, 500}}, true, 1, 0},
        {"twice, wrapping", {{kTrayKeySelect, 0}, {kTrayKeySelect, 500}}, true, 1, 0, 0, 200},
        {"Enter later, in front", {{kTrayKeySelect, 0}, {kTrayKeySelect, 501}}, false, 1, 0},
        {"Enter later, behind", {{kTrayKeySelect, 0}, {kTrayKeySelect, 501}}, true, 2, 0},
        {"Enter on an icon chosen by mouse", {{kTraySelect, 0}}, false, 1, 0},
        {"Shift+F10 or the menu key", {{kTrayContextMenu, 0}}, false, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gesture);
        fake.timers.advance(10000);
        if (c.wrapsIn) fake.timers.wrapIn(c.wrapsIn);
        fake.windows.whileWaiting = [&](const std::string& call) {
            if (call == "clickButton") fake.timers.now += c.openingMs;
        };
        app.controller().unload();
        const int created = controllerCreations();
        const std::size_t popups = fake.menus.popups.size();
        for (const auto& [event, after] : c.events) {
            fake.timers.advance(after);
            trayEvent(event);
            if (c.othersTakeTheFront) fake.windows.foreground = platform::kNoWindow;
        }
        fake.windows.whileWaiting = nullptr;
        EXPECT_EQ(controllerCreations() - created, c.openings);
        EXPECT_EQ(fake.menus.popups.size() - popups, static_cast<std::size_t>(c.menus));
        if (c.openings) {
            EXPECT_EQ(fake.input.focus,
                      std::pair(fake.windows.idOf("Form1"), int{resources::controller::Knob}));
        }
    }
}

// From the keyboard the menu stands at the icon where the shell tells a place on the taskbar, else
// at the notification area, else at the pointer.
TEST_F(TrayCallback, TheKeyboardsMenuStandsAtTheIconOrTheNotificationArea) {
    const platform::Rect icon{1000, 740, 1016, 756}, area{900, 738, 1024, 768};
    const struct {
        std::optional<platform::Rect> icon, area, place;
        std::optional<platform::Rect> taskbar = platform::Rect{0, 738, 1024, 768};
    } cases[] = {
        {icon, area, icon},
        {icon, area, icon, std::nullopt},
        {platform::Rect{850, 740, 866, 756}, area, platform::Rect{850, 740, 866, 756}},
        {platform::Rect{1000, 0, 1016, 16}, area, area},     // a wrong place at y = 0
        {platform::Rect{1000, 600, 1016, 616}, area, area},  // Windows 11's overflow, elsewhere
        {platform::Rect{0, 0, 0, 0}, area, area},  // Windows 11, the icon in the hidden overflow
        {platform::Rect{10, 10, 26, 10}, area, area},
        {platform::Rect{10, 10, 10, 26}, area, area},
        {std::nullopt, area, area},  // before Windows 7
        {std::nullopt, std::nullopt, std::nullopt},
    };
    trayEvent(0x204);  // by mouse: at the pointer
    EXPECT_FALSE(fake.menus.popups.back().state.place.has_value());
    for (const auto& c : cases) {
        fake.shell.iconRect = c.icon;
        fake.shell.notificationArea = c.area;
        fake.shell.taskbar = c.taskbar;
        fake.timers.advance(1000);
        trayEvent(platform::kTrayContextMenu);
        const auto& place = fake.menus.popups.back().state.place;
        ASSERT_EQ(place.has_value(), c.place.has_value());
        if (place) {
            EXPECT_EQ(std::tie(place->left, place->bottom),
                      std::tie(c.place->left, c.place->bottom));
        }
    }
}

// The shell's documented way back: the focus returns to the notification area after a menu
// opened from the keyboard, unless a window took it (one of ours, or a program a command started),
// and when a keyboard user closes with Esc a controller opened from the keyboard. A command that
// shows the closed controller activates it: the user is on its knob, and Esc brings them back.
TEST_F(TrayCallback, AKeyboardUserIsGivenBackToTheNotificationArea) {
    auto focusReturns = [this] {
        return std::count_if(
            fake.shell.trayCalls.begin(), fake.shell.trayCalls.end(),
            [](const auto& call) { return call.message == platform::TrayMessage::SetFocus; });
    };
    auto escape = [this] {
        fake.windows.deliver(fake.windows.idOf("Form1"),
                             [](auto& e) { e.onKey(platform::Key::Escape, false); });
    };
    const struct {
        int choice;
        bool returns;
        bool onTheKnob = false;
        bool startFails = false;
    } commands[] = {{0, true},
                    {Ts, true},
                    {Ontop, false, true},
                    {Vista, false, true},
                    {Abt, false},
                    {Opt, false},
                    {Omc, false},
                    {Web, false},
                    {Omc, true, false, true},
                    {Web, true, false, true}};
    for (const auto& c : commands) {
        app.controller().unload();
        fake.shell.startError = c.startFails ? 2 : 0;
        const auto before = focusReturns();
        fake.menus.menuChoice = c.choice;
        trayEvent(platform::kTrayContextMenu);
        EXPECT_EQ(focusReturns() - before, c.returns ? 1 : 0) << c.choice;
        if (c.onTheKnob) {
            EXPECT_EQ(fake.input.focus,
                      std::pair(fake.windows.idOf("Form1"), int{resources::controller::Knob}));
            escape();
            EXPECT_EQ(focusReturns() - before, 1) << c.choice;
        }
        fake.timers.advance(1000);
    }
    fake.shell.startError = 0;
    auto before = focusReturns();
    fake.menus.menuChoice = Ts;
    trayEvent(0x204);  // the menu opened with the mouse
    trayEvent(platform::kTrayKeySelect);
    escape();
    EXPECT_EQ(focusReturns() - before, 1);
    fake.timers.advance(3000);
    trayEvent(0x202);  // opened with the mouse
    escape();
    EXPECT_EQ(focusReturns() - before, 1);
}

}  // namespace
}  // namespace qmx::testing
