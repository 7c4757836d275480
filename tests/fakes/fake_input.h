#pragma once

#include <map>
#include <utility>
#include <vector>

#include "fakes/fake_windows.h"
#include "platform/input.h"

namespace qmx::fakes {

// The simulated keyboard focus, the pointer watch and the system's table of shortcut keys (by
// the registering window and id). Focusing or clicking for the program makes that window the
// desktop's foreground one.
class FakeInput : public platform::Input {
public:
    FakeInput(CallLog& log, FakeWindows& windows) : log_(log), windows_(windows) {}

    void clickButton(platform::WindowId window, int controlId) override {
        log_.add("windows.clickButton " + windows_.windows.at(window).name + " " +
                 std::to_string(controlId));
        buttonClicks.emplace_back(window, controlId);
        windows_.foreground = window;
        windows_.reenter("clickButton");
    }
    void focusControl(platform::WindowId window, int controlId) override {
        windows_.reenter("focusControl");
        windows_.foreground = window;
        focus = {window, controlId};
    }
    bool watchPointer(platform::WindowId window, bool watch) override {
        log_.add(std::string("windows.watchPointer ") + (watch ? "on" : "off"));
        if (!watch && failStopWatching > 0) {
            --failStopWatching;
            return false;
        }
        pointerWatchedBy = watch ? window : platform::kNoWindow;
        return true;
    }
    // A combination is registered once, whoever holds it.
    std::uint32_t registerHotKey(platform::WindowId window, int id, unsigned modifiers,
                                 unsigned virtualKey) override {
        const auto refused = hotKeyRefusals.find({modifiers, virtualKey});
        if (refused != hotKeyRefusals.end()) return refused->second;
        const auto keys = std::pair(modifiers & ~platform::kModNoRepeat, virtualKey);
        for (const auto& [owner, held] : hotKeys) {
            if (std::pair(held.first & ~platform::kModNoRepeat, held.second) == keys) return 1409;
        }
        hotKeys[{window, id}] = {modifiers, virtualKey};
        return 0;
    }
    void unregisterHotKey(platform::WindowId window, int id) override {
        hotKeys.erase({window, id});
    }
    unsigned doubleClickTime() override { return 500; }  // the system's default

    std::vector<std::pair<platform::WindowId, int>> buttonClicks;
    std::pair<platform::WindowId, int> focus{platform::kNoWindow, 0};  // the focused control
    std::map<std::pair<platform::WindowId, int>, std::pair<unsigned, unsigned>> hotKeys;
    // The error a registration of (modifiers as asked, key) answers with.
    std::map<std::pair<unsigned, unsigned>, std::uint32_t> hotKeyRefusals;
    platform::WindowId pointerWatchedBy = platform::kNoWindow;
    int failStopWatching = 0;  // how many of the next requests to stop watching fail

private:
    CallLog& log_;
    FakeWindows& windows_;
};

}  // namespace qmx::fakes
