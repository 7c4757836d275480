#pragma once

#include "app_harness.h"
#include "resources/controller_form.h"

namespace qmx::testing {

// The program started, the controller opened from the tray icon, and the user's pointer.
class ControllerTest : public AppTest {
protected:
    void SetUp() override {
        fake.registry.createKey(platform::RegistryRoot::CurrentUser,
                                "Software\\Korwen's Software\\Velto Volume Controller\\4.0");
        ASSERT_EQ(start(), -1);
        openFromTray();
    }
    void openFromTray() {
        trayEvent(0x202);
        ASSERT_TRUE(controller().loaded());
    }
    controller::ControllerWindow& controller() { return app.controller(); }
    platform::WindowId window() { return fake.windows.idOf("Form1"); }
    const fakes::FakeWindows::Window* form1() { return fake.windows.find("Form1"); }

    void press(int control, int button, float x, float y) {
        fake.windows.deliver(window(), [=](auto& e) { e.onPointerDown(control, button, x, y); });
    }
    void move(int control, int buttons, float x, float y) {
        fake.windows.deliver(window(), [=](auto& e) { e.onPointerMove(control, buttons, x, y); });
    }
    void release(int control, int button, float x, float y) {
        fake.windows.deliver(window(), [=](auto& e) { e.onPointerUp(control, button, x, y); });
    }
    void click(int control) {
        fake.windows.deliver(window(), [=](auto& e) { e.onClick(control); });
    }
    void doubleClick(int control) {
        fake.windows.deliver(window(), [=](auto& e) { e.onDoubleClick(control); });
    }
    // A left press and release on a control, with the click that follows.
    void leftClick(int control) {
        press(control, platform::kLeftButton, 10, 10);
        release(control, platform::kLeftButton, 10, 10);
        click(control);
    }
};

}  // namespace qmx::testing
