#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/application.h"
#include "fakes/fake_audio_endpoints.h"
#include "fakes/fake_platform.h"
#include "mixer/endpoint_mixer.h"
#include "resources/controller_form.h"
#include "settings/settings_store.h"

namespace qmx::testing {

// Runs `action`; returns the exit code if it ended the program, or -1 if it did not.
inline long exitCodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const fakes::ProcessExit& exit) {
        return exit.exitCode;
    }
    return -1;
}

// The whole program over simulated services: over the legacy mixer, or (`coreAudio`) over the
// simulated audio `outputs` as mixer device 0. The fake process table lists this program's own
// process; tests add others before start().
struct Program {
    explicit Program(bool coreAudio = false)
        : platform{fake.platformOver(coreAudio ? static_cast<platform::Mixer&>(mixer) : fake.mixer,
                                     coreAudio ? &outputs : nullptr)} {
        fake.processes.addProcess(fake.processes.ownId, fake.processes.ownPath);
    }
    long start() {
        return exitCodeOf([this] { app.start(); });
    }
    long advance(unsigned ms) {
        return exitCodeOf([&] { fake.timers.advance(ms); });
    }
    platform::WindowId hostWindow() const { return fake.windows.idOf("Form2"); }
    // The shell's callback: a left-button press on the hidden host whose x carries the event.
    void trayEvent(int event) {
        const float x = static_cast<float>(event * fake.system.twipsX);
        fake.windows.deliver(hostWindow(), [x](platform::WindowEvents& e) {
            e.onPointerDown(platform::kFormItself, platform::kLeftButton, x, 0);
        });
    }
    // Opens the tray menu with a right click and picks `item` (0: none).
    void chooseFromMenu(int item) {
        fake.menus.menuChoice = item;
        trayEvent(0x204);
    }
    const platform::TrayIconData& lastTrayData() const { return fake.shell.trayCalls.back().data; }
    platform::IconId trayIcon() const { return lastTrayData().icon; }
    // The text of the first message box shown; "" when none was.
    std::string firstMessage() const {
        return fake.messageBoxes.shown.empty() ? "" : fake.messageBoxes.shown[0].text;
    }
    std::string label() { return app.controller().volumeLabel().caption(); }
    // The About box's device line, up to the end of its text.
    std::string aboutDevice() {
        const std::string line = app.about().lblmanufac().caption();
        return line.substr(0, line.find('\0'));
    }
    // The log's lines that contain `text`.
    std::vector<std::string> linesWith(const std::string& text) const {
        std::vector<std::string> found;
        for (const auto& line : fake.logFile.lines()) {
            if (line.find(text) != std::string::npos) found.push_back(line);
        }
        return found;
    }
    // A drag of the knob from where it is down by `twips`.
    void dragKnob(float twips) {
        using resources::controller::Knob;
        const auto window = fake.windows.idOf("Form1");
        const int left = platform::kLeftButton;
        fake.windows.deliver(window, [=](auto& e) { e.onPointerDown(Knob, left, 7, 100); });
        fake.windows.deliver(window, [=](auto& e) { e.onPointerMove(Knob, left, 7, 100 + twips); });
        fake.windows.deliver(window, [=](auto& e) { e.onPointerUp(Knob, left, 7, 100 + twips); });
    }

    fakes::FakePlatform fake;
    fakes::FakeAudioEndpoints outputs;
    mixer::EndpointMixer mixer{outputs, fake.eventLog,
                               [this] { return static_cast<std::uint32_t>(fake.timers.now); }};
    platform::Platform platform;
    app::Application app{platform, fake.eventLog};
};

class AppTest : public ::testing::Test, protected Program {};

// The program over simulated audio outputs, its settings key made.
struct Rig : Program {
    Rig() : Program(true) {
        fake.registry.createKey(platform::RegistryRoot::CurrentUser, settings::kSettingsKey);
    }
};

}  // namespace qmx::testing
