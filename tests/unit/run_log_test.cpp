// The log the user asks for: the setting that turns it on, the run's facts heading it, every
// message shown and how the program ended.
#include <optional>

#include "app_harness.h"
#include "endpoint_harness.h"
#include "resources/tray_menu.h"
#include "settings/settings_store.h"

namespace qmx::testing {
namespace {

using Lines = std::vector<std::string>;
using Value = fakes::FakeRegistry::Value;
using platform::kRegDword;
constexpr auto kUser = platform::RegistryRoot::CurrentUser;
constexpr const char* kStarted = "Velto Volume Controller 4.0 started, process 4242";

void askForLog(fakes::FakePlatform& fake) {
    fake.registry.setDword(kUser, settings::kSettingsKey, "log", 1);
}

// One run of the whole program over the legacy mixer.
struct Program {
    Program() { fake.processes.addProcess(fake.processes.ownId, fake.processes.ownPath); }
    long start() {
        return exitCodeOf([this] { app.start(); });
    }
    long toHost(const std::function<void(platform::WindowEvents&)>& event) {
        return exitCodeOf([&] { fake.windows.deliver(fake.windows.idOf("Form2"), event); });
    }
    Lines lines() const { return fake.logFile.lines(); }

    fakes::FakePlatform fake;
    app::Application app{fake.platform, fake.eventLog};
};

TEST(LogSetting, OnlyTheDwordOneStartsTheLog) {
    const struct {
        const char* stored;
        bool key;
        std::optional<Value> log;
        bool on;
    } cases[] = {
        {"no key", false, std::nullopt, false},
        {"no value", true, std::nullopt, false},
        {"the DWORD 1", true, Value{kRegDword, {1, 0, 0, 0}}, true},
        {"the DWORD 0", true, Value{kRegDword, {0, 0, 0, 0}}, false},
        {"the DWORD 2", true, Value{kRegDword, {2, 0, 0, 0}}, false},
        {"a DWORD of one byte", true, Value{kRegDword, {1}}, false},
        {"binary 01 00 00 00", true, Value{3, {1, 0, 0, 0}}, false},
    };
    for (const auto& c : cases) {
        Program run;
        if (c.key) run.fake.registry.createKey(kUser, settings::kSettingsKey);
        if (c.log) run.fake.registry.keys[{kUser, settings::kSettingsKey}]["log"] = *c.log;
        ASSERT_EQ(run.start(), -1) << c.stored;
        EXPECT_EQ(!run.fake.logFile.text.empty(), c.on) << c.stored;
    }
}

TEST(RunLog, StartUpWritesTheRunsFactsAndAMinuteIdleAddsNothing) {
    Program run;
    askForLog(run.fake);
    run.fake.system.osVersion = {5, 2, 3790, 2};
    run.fake.system.twipsX = 10;
    ASSERT_EQ(run.start(), -1);
    EXPECT_EQ(run.lines(), (Lines{kStarted, "Windows 5.2 build 3790", "Resolution 144 DPI",
                                  "Audio: the legacy mixer, device 0 \"Fake Audio Mixer\""}));
    const std::string written = run.fake.logFile.text;
    run.fake.timers.advance(60000);
    EXPECT_EQ(run.fake.logFile.text, written);

    // Windows 8.1 and later tell the program 6.2; the kernel says what runs.
    Program later;
    askForLog(later.fake);
    later.fake.system.osVersion = {6, 2, 9200, 2};
    later.fake.system.kernel = platform::OsVersion{10, 0, 22631, 2};
    ASSERT_EQ(later.start(), -1);
    EXPECT_EQ(later.lines().at(1), "Windows 10.0 build 22631, the program is told 6.2");
}

TEST(RunLog, WithCoreAudioTheFactsNameTheDefaultOutput) {
    for (bool output : {true, false}) {
        Rig rig;
        askForLog(rig.fake);
        if (output) rig.outputs.add("{0.0.0.00000000}.{5e1a}", "Speakers (Realtek\tAudio)");
        rig.start();
        const Lines lines = rig.fake.logFile.lines();
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines[3], output ? "Audio: Core Audio, default output "
                                     "{0.0.0.00000000}.{5e1a} \"Speakers (Realtek Audio)\""
                                   : "Audio: Core Audio, no active output");
    }
}

TEST(RunLog, AMessageShownAtStartUpFollowsTheFactsAndTheProgramGoesOn) {
    Program run;
    askForLog(run.fake);
    run.fake.registry.setDword(kUser, settings::kSettingsKey, "hotkey", 0x0656);
    for (unsigned noRepeat : {0u, platform::kModNoRepeat}) {
        run.fake.input.hotKeyRefusals[{platform::kModControl | platform::kModAlt | noRepeat, 'V'}] =
            1409;
    }
    ASSERT_EQ(run.start(), -1);
    EXPECT_EQ(run.lines().front(), kStarted);
    EXPECT_EQ(run.lines().back(),
              "Message shown: Unable to set the shortcut to open the controller. Error 1409");
}

TEST(RunLog, EachWayOfEndingIsTheLastLineWithItsExitCode) {
    using Event = std::function<void(platform::WindowEvents&)>;
    // A right click on the icon (the fake screen has 15 twips a pixel), and Close in the menu.
    const Event menuClose = [](platform::WindowEvents& e) {
        e.onPointerDown(platform::kFormItself, platform::kLeftButton, 0x204 * 15.0f, 0);
    };
    const struct {
        Event whileRunning;  // nothing: the program ends during start-up
        std::function<void(fakes::FakePlatform&)> before;
        Lines last;
    } cases[] = {
        {menuClose, {}, {"Ended by the menu's Close, exit code 0"}},
        {[](auto& e) { e.onClose(); }, {}, {"Ended by a request to close its window, exit code 0"}},
        {[](auto& e) { e.onSessionEnding(); }, {}, {"Ended with the Windows session, exit code 0"}},
        {{},
         [](auto& fake) { fake.processes.addProcess(77, fake.processes.ownPath); },
         {"Ended itself: another copy runs from its folder, exit code 4242"}},
        {{},
         [](auto& fake) { fake.mixer.failOpen = 6; },
         {"Message shown: Error! Unable to open a Mixer Device. Program will be terminated.",
          "Ended after its message, exit code 0"}},
    };
    for (const auto& c : cases) {
        Program run;
        askForLog(run.fake);
        run.fake.menus.menuChoice = resources::tray_menu::Exitqmx;
        if (c.before) c.before(run.fake);
        const long started = run.start();
        EXPECT_NE(c.whileRunning ? run.toHost(c.whileRunning) : started, -1) << c.last.back();
        const Lines lines = run.lines();
        ASSERT_GT(lines.size(), c.last.size()) << c.last.back();
        EXPECT_EQ(lines.front(), kStarted) << c.last.back();
        EXPECT_EQ(Lines(lines.end() - static_cast<long>(c.last.size()), lines.end()), c.last);
    }
}

}  // namespace
}  // namespace qmx::testing
