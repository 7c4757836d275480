// The log the user asks for: the setting that turns it on, the run's facts heading it, every
// message shown and how the program ended.
#include <functional>
#include <optional>

#include "app_harness.h"
#include "resources/tray_menu.h"

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

// The run's facts name the mixer device 0 of Windows XP, or the default output of Core Audio.
TEST(RunLog, StartUpWritesTheRunsFactsAndAMinuteIdleAddsNothing) {
    const std::string id = "{0.0.0.00000000}.{5e1a}";
    const struct {
        bool coreAudio;
        const char* output;  // the default output's name, if any
        Lines audio;
    } cases[] = {
        {false, nullptr, {"Audio: the legacy mixer, device 0 \"Fake Audio Mixer\""}},
        {true,
         "Speakers (Realtek\tAudio)",
         {"Audio: Core Audio, default output " + id + " \"Speakers (Realtek Audio)\""}},
        {true, nullptr, {"Audio: Core Audio, no active output"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.audio[0]);
        Program run(c.coreAudio);
        askForLog(run.fake);
        run.fake.system.osVersion = {5, 2, 3790, 2};
        run.fake.system.twipsX = 10;
        run.outputs.add(id, c.output ? c.output : "");
        if (!c.output) run.outputs.remove(id);  // installed, not active
        ASSERT_EQ(run.start(), -1);
        Lines expected{kStarted, "Windows 5.2 build 3790", "Resolution 144 DPI"};
        expected.insert(expected.end(), c.audio.begin(), c.audio.end());
        EXPECT_EQ(run.fake.logFile.lines(), expected);
        const std::string written = run.fake.logFile.text;
        run.fake.timers.advance(60000);
        EXPECT_EQ(run.fake.logFile.text, written);
        if (!c.coreAudio) continue;
        // The first change after the facts is told.
        run.outputs.add("headset", "Headset");
        run.outputs.setDefault("headset");
        run.fake.timers.advance(100);
        expected.push_back("Output added: headset (Headset)");
        expected.push_back("Default output changed to headset (Headset)");
        EXPECT_EQ(run.fake.logFile.lines(), expected);
    }

    // Windows 8.1 and later tell the program 6.2; the kernel says what runs.
    Program later;
    askForLog(later.fake);
    later.fake.system.osVersion = {6, 2, 9200, 2};
    later.fake.system.kernel = platform::OsVersion{10, 0, 22631, 2};
    ASSERT_EQ(later.start(), -1);
    EXPECT_EQ(later.fake.logFile.lines().at(1),
              "Windows 10.0 build 22631, the program is told 6.2");
}

// The system's notice of an output's arrival or removal may come after the poll that met the
// default it took or gave (here it never comes): the output is still told first.
TEST(RunLog, AnOutputIsToldBeforeTheDefaultItTookOrGaveWhenItsNoticeIsLate) {
    Program run(true);
    askForLog(run.fake);
    run.outputs.add("spk", "Speakers");
    ASSERT_EQ(run.start(), -1);
    const struct {
        bool notified;
        std::function<void()> change;
        Lines told;
    } steps[] = {
        {true,
         [&] { run.outputs.remove("spk"); },
         {"Output removed: spk (Speakers)", "No default output: no output is active"}},
        {false,
         [&] { run.outputs.add("hp", "Headphones"); },
         {"Output added: hp (Headphones)", "Default output changed to hp (Headphones)"}},
        {false,
         [&] { run.outputs.add("spk", "Speakers"), run.outputs.remove("hp"); },
         {"Output removed: hp (Headphones)", "Output added: spk (Speakers)",
          "Default output changed to spk (Speakers)"}},
        {false,
         [&] { run.outputs.remove("spk"); },
         {"Output removed: spk (Speakers)", "No default output: no output is active"}},
    };
    Lines expected;
    for (const auto& step : steps) {
        run.outputs.notifications = step.notified;
        step.change();
        run.fake.timers.advance(1000);
        expected.insert(expected.end(), step.told.begin(), step.told.end());
        Lines told;
        for (const auto& line : run.fake.logFile.lines()) {
            if (line.rfind("Output ", 0) == 0 || line.rfind("Default output", 0) == 0 ||
                line.rfind("No default output", 0) == 0) {
                told.push_back(line);
            }
        }
        EXPECT_EQ(told, expected);
    }
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
          "Ended after its message, exit code 1"}},
    };
    for (const auto& c : cases) {
        Program run;
        askForLog(run.fake);
        run.fake.menus.menuChoice = resources::tray_menu::Exitqmx;
        if (c.before) c.before(run.fake);
        const long started = run.start();
        const auto host = run.hostWindow();
        EXPECT_NE(c.whileRunning
                      ? exitCodeOf([&] { run.fake.windows.deliver(host, c.whileRunning); })
                      : started,
                  -1)
            << c.last.back();
        const Lines lines = run.fake.logFile.lines();
        ASSERT_GT(lines.size(), c.last.size()) << c.last.back();
        EXPECT_EQ(lines.front(), kStarted) << c.last.back();
        EXPECT_EQ(Lines(lines.end() - static_cast<long>(c.last.size()), lines.end()), c.last);
    }
}

}  // namespace
}  // namespace qmx::testing
