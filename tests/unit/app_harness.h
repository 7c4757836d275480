#pragma once

#include <functional>

#include <gtest/gtest.h>

#include "app/application.h"
#include "fakes/fake_platform.h"

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

// The whole program over simulated services. The fake process table lists this program's own
// process; tests add others before start().
class AppTest : public ::testing::Test {
protected:
    AppTest() { fake.processes.addProcess(fake.processes.ownId, fake.processes.ownPath); }

    long start() {
        return exitCodeOf([this] { app.start(); });
    }

    platform::WindowId hostWindow() const { return fake.windows.idOf("Form2"); }
    const platform::TrayIconData& lastTrayData() const { return fake.shell.trayCalls.back().data; }

    fakes::FakePlatform fake;
    app::Application app{fake.platform, fake.eventLog};
};

}  // namespace qmx::testing
