#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/window_system.h"
#include "resources/form_definition.h"

namespace qmx::fakes {

// Simulated windows with a virtual clock. Timers tick only when the test advances the clock;
// due ticks run one at a time, in order, as a message loop delivers them. Events are delivered
// through the same boundary as the real window procedure: nothing escapes it but the end of the
// process.
class FakeWindows : public platform::WindowSystem {
public:
    explicit FakeWindows(CallLog& log) : log_(log) {}

    void initCommonControls() override { log_.add("windows.initCommonControls"); }
    platform::WindowId createWindow(const resources::FormDefinition& definition,
                                    platform::WindowEvents& events) override;
    void destroyWindow(platform::WindowId window) override;
    void setWindowIcon(platform::WindowId window, platform::IconId icon) override;
    void setControlText(platform::WindowId window, int controlId, std::string_view text) override;
    void setControlValue(platform::WindowId window, int controlId, int value) override;
    void moveControl(platform::WindowId window, int controlId, float left, float top) override;
    void setTimer(platform::WindowId window, int timerId, unsigned intervalMs) override;
    void killTimer(platform::WindowId window, int timerId) override;
    int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;

    // Advances the virtual clock, delivering every timer tick that falls due.
    void advance(unsigned milliseconds);
    // Delivers an event to a window as its window procedure would.
    void deliver(platform::WindowId window, const std::function<void(platform::WindowEvents&)>& e);

    struct Window {
        std::string name;
        platform::WindowEvents* events;
        platform::IconId icon = platform::IconId::None;
        std::map<int, std::string> texts;
        std::map<int, int> values;
        std::map<int, float> tops;
    };
    struct MessageBox {
        std::string text;
        std::string caption;
        unsigned flags;
    };

    const Window* find(const std::string& name) const;
    platform::WindowId idOf(const std::string& name) const;
    bool timerRunning(platform::WindowId window, int timerId) const;

    std::map<platform::WindowId, Window> windows;
    std::vector<MessageBox> messageBoxes;
    std::function<void(const MessageBox&)> onMessageBox;  // runs while the box is "open"
    int windowsCreated = 0;
    std::uint64_t now = 0;

private:
    struct RunningTimer {
        platform::WindowId window;
        int id;
        unsigned interval;
        std::uint64_t due;
    };
    CallLog& log_;
    platform::WindowId nextId_ = 100;
    std::vector<RunningTimer> timers_;
};

}  // namespace qmx::fakes
