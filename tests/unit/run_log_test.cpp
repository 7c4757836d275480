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
        {"no settings key", false, std::nullopt, false},
        {"no value", true, std::nullopt, false},
        {"the DWORD 1", true, Value{platform::kRegDword, {1, 0, 0, 0}}, true},
        {"the DWORD 0", true, Value{platform::kRegDword, {0, 0, 0, 0}}, false},
        {"the DWORD 2", true, Value{platform::kRegDword, {2, 0, 0, 0}}, false},
        {"a DWORD of one byte", true, Value{platform::kRegDword, {1}}, false},
        {"binary 01 00 00 00", true, Value{3, {1, 0, 0, 0}}, false},
        {"the text 1", true, Value{platform::kRegSz, {'1', 0, 0, 0}}, false},
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
    run.fake.windows.advance(60000);
    EXPECT_EQ(run.fake.logFile.text, written);
}

TEST(RunLog, WithCoreAudioTheFactsNameTheDefaultOutput) {
    const struct {
        bool output;
        const char* line;
    } cases[] = {
        {true,
         "Audio: Core Audio, default output {0.0.0.00000000}.{5e1a} \"Speakers (Realtek "
         "Audio)\""},
        {false, "Audio: Core Audio, no active output"},
    };
    for (const auto& c : cases) {
        Rig rig;
        askForLog(rig.fake);
        if (c.output) rig.outputs.add("{0.0.0.00000000}.{5e1a}", "Speakers (Realtek\tAudio)");
        rig.start();
        const Lines lines = rig.fake.logFile.lines();
        ASSERT_GE(lines.size(), 4u) << c.line;
        EXPECT_EQ(lines[3], c.line);
    }
}

TEST(RunLog, AMessageShownAtStartUpFollowsTheFactsAndTheProgramGoesOn) {
    Program run;
    askForLog(run.fake);
    run.fake.registry.setDword(kUser, settings::kSettingsKey, "hotkey", 0x0656);
    run.fake.windows.hotKeyRefusal = 1409;
    ASSERT_EQ(run.start(), -1);
    const Lines lines = run.lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines.front(), kStarted);
    EXPECT_EQ(lines.back(),
              "Message shown: Unable to set the shortcut to open the controller. Error 1409");
}

TEST(RunLog, EachWayOfEndingIsTheLastLineWithItsExitCode) {
    const struct {
        const char* way;
        std::function<long(Program&)> ending;
        Lines last;
    } cases[] = {
        {"the menu's Close",
         [](Program& r) {
             r.start();
             r.fake.windows.menuChoice = resources::tray_menu::Exitqmx;
             const float x = static_cast<float>(0x204 * r.fake.system.twipsX);
             return r.toHost([x](platform::WindowEvents& e) {
                 e.onPointerDown(platform::kFormItself, platform::kLeftButton, x, 0);
             });
         },
         {"Ended by the menu's Close, exit code 0"}},
        {"a close request",
         [](Program& r) {
             r.start();
             return r.toHost([](platform::WindowEvents& e) { e.onClose(); });
         },
         {"Ended by a request to close its window, exit code 0"}},
        {"the session's end",
         [](Program& r) {
             r.start();
             return r.toHost([](platform::WindowEvents& e) { e.onSessionEnding(); });
         },
         {"Ended with the Windows session, exit code 0"}},
        {"a second copy",
         [](Program& r) {
             r.fake.processes.addProcess(77, r.fake.processes.ownPath);
             return r.start();
         },
         {"Ended itself: another copy runs from its folder, exit code 4242"}},
        {"a fatal message",
         [](Program& r) {
             r.fake.mixer.failOpen = 6;
             return r.start();
         },
         {"Message shown: Error! Unable to open a Mixer Device. Program will be terminated.",
          "Ended after its message, exit code 0"}},
    };
    for (const auto& c : cases) {
        Program run;
        askForLog(run.fake);
        EXPECT_NE(c.ending(run), -1) << c.way;
        const Lines lines = run.lines();
        ASSERT_GT(lines.size(), c.last.size()) << c.way;
        EXPECT_EQ(lines.front(), kStarted) << c.way;
        EXPECT_EQ(Lines(lines.end() - static_cast<long>(c.last.size()), lines.end()), c.last)
            << c.way;
    }
}

}  // namespace
}  // namespace qmx::testing
