#pragma once

#include <functional>

#include <gtest/gtest.h>

#include "app/application.h"
#include "app_harness.h"
#include "fakes/fake_audio_endpoints.h"
#include "fakes/fake_platform.h"
#include "mixer/endpoint_mixer.h"
#include "resources/controller_form.h"

namespace qmx::testing {

// The program over simulated audio outputs (and the other services simulated as usual).
struct Rig {
    Rig() {
        fake.processes.addProcess(fake.processes.ownId, fake.processes.ownPath);
        fake.registry.createKey(platform::RegistryRoot::CurrentUser,
                                "Software\\Korwen's Software\\Velto Volume Controller\\4.0");
    }
    long start() {
        return exitCodeOf([this] { app.start(); });
    }
    long advance(unsigned ms) {
        return exitCodeOf([&] { fake.timers.advance(ms); });
    }
    void trayEvent(int event) {
        const float x = static_cast<float>(event * fake.system.twipsX);
        fake.windows.deliver(fake.windows.idOf("Form2"), [x](platform::WindowEvents& e) {
            e.onPointerDown(platform::kFormItself, platform::kLeftButton, x, 0);
        });
    }
    // Opens the tray menu with a right click and picks `item` (0: none).
    void chooseFromMenu(int item) {
        fake.menus.menuChoice = item;
        trayEvent(0x204);
    }
    platform::IconId trayIcon() const { return fake.shell.trayCalls.back().data.icon; }
    std::string label() { return app.controller().volumeLabel().caption(); }
    // A drag of the knob from where it is down by `twips`.
    void dragKnob(float twips) {
        const auto window = fake.windows.idOf("Form1");
        fake.windows.deliver(window, [](auto& e) {
            e.onPointerDown(resources::controller::Knob, platform::kLeftButton, 7, 100);
        });
        fake.windows.deliver(window, [=](auto& e) {
            e.onPointerMove(resources::controller::Knob, platform::kLeftButton, 7, 100 + twips);
        });
        fake.windows.deliver(window, [=](auto& e) {
            e.onPointerUp(resources::controller::Knob, platform::kLeftButton, 7, 100 + twips);
        });
    }

    fakes::FakePlatform fake;
    fakes::FakeAudioEndpoints outputs;
    mixer::EndpointMixer mixer{outputs, fake.eventLog,
                               [this] { return static_cast<std::uint32_t>(fake.timers.now); }};
    platform::Platform platform{mixer,       fake.processes, fake.registry,     fake.system,
                                fake.shell,  fake.windows,   fake.placement,    fake.input,
                                fake.timers, fake.menus,     fake.messageBoxes, fake.sound,
                                &outputs};
    app::Application app{platform, fake.eventLog};
};

}  // namespace qmx::testing
