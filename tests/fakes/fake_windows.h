#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/forms.h"
#include "platform/window_placement.h"
#include "resources/form_definition.h"

namespace qmx::fakes {

// Simulated windows and their controls: the desktop the other window fakes (placement, input,
// timers, menus) act on. Events are delivered through the same boundary as the real window
// procedure: nothing escapes it but the end of the process.
class FakeWindows : public platform::Forms {
public:
    // The windows stand at the screen's resolution (`screenTwipsX`, twips per pixel) until a
    // test moves one to another (changeDpi).
    FakeWindows(CallLog& log, const double& screenTwipsX)
        : log_(log), screenTwipsX_(screenTwipsX) {}

    void initCommonControls() override { log_.add("windows.initCommonControls"); }
    platform::WindowId createWindow(const resources::FormDefinition& definition,
                                    platform::WindowEvents& events) override;
    void destroyWindow(platform::WindowId window) override;
    void setWindowIcon(platform::WindowId window, platform::IconId icon) override {
        windows.at(window).icon = icon;
    }
    int windowDpi(platform::WindowId window) override;
    // The window now stands on a monitor of another resolution.
    void changeDpi(platform::WindowId window, int dpi);
    void setControlText(platform::WindowId window, int controlId, std::string_view text) override;
    void setControlValue(platform::WindowId window, int controlId, int value) override {
        windows.at(window).values[controlId] = value;
    }
    int controlValue(platform::WindowId window, int controlId) override {
        return windows.at(window).values[controlId];
    }
    void moveControl(platform::WindowId window, int controlId, float left, float top) override;
    void setControlVisible(platform::WindowId window, int controlId, bool visible) override {
        windows.at(window).visible[controlId] = visible;
    }
    void setPicture(platform::WindowId window, int controlId,
                    platform::PictureId picture) override {
        windows.at(window).pictures[controlId] = picture;
    }
    void setControlBackColor(platform::WindowId window, int controlId,
                             std::uint32_t color) override {
        windows.at(window).backColors[controlId] = color;
    }
    void setControlUnderline(platform::WindowId window, int controlId, bool underline) override {
        windows.at(window).underline[controlId] = underline;
    }
    void nameControl(platform::WindowId window, int controlId, std::string_view name) override {
        windows.at(window).accessibleNames[controlId] = std::string(name);
    }
    void announceSlider(platform::WindowId window, int controlId, std::string_view name,
                        std::string_view value) override {
        announcements.push_back({window, controlId, std::string(name), std::string(value)});
    }

    // Delivers an event to a window as its window procedure would.
    void deliver(platform::WindowId window, const std::function<void(platform::WindowEvents&)>& e);
    // Runs the test's whileWaiting hook for a call that waits on another thread.
    void reenter(const std::string& call) {
        if (!whileWaiting) return;
        const auto hook = whileWaiting;  // the hook may replace itself
        hook(call);
    }

    struct Window {
        std::string name;
        platform::WindowEvents* events;
        platform::IconId icon = platform::IconId::None;
        std::map<int, std::string> texts;
        std::map<int, int> values;
        std::map<int, float> tops;
        std::map<int, bool> visible;
        std::map<int, platform::PictureId> pictures;
        std::map<int, bool> underline;
        std::map<int, std::uint32_t> backColors;
        std::map<int, std::string> accessibleNames;
        struct Region {
            int left, top, right, bottom, ellipseWidth, ellipseHeight;
        };
        std::map<int, Region> regions;
        int x = 0, y = 0;                   // pixels
        float leftTwips = 0, topTwips = 0;  // after a move in twips
        bool shown = false;
        int dpi = 0;  // 0: the screen's
        bool topMost = false;
        std::uint32_t extendedStyle = platform::kWsExToolWindow;  // no taskbar button
        int alpha = -1;                                           // -1: not layered
        std::uint32_t layeredFlags = 0;
    };

    const Window* find(const std::string& name) const;
    platform::WindowId idOf(const std::string& name) const;

    std::map<platform::WindowId, Window> windows;
    // Windows hands a thread the messages other threads send it while one of its calls waits on
    // another thread (activation, focus, showing). Runs with the call's name; a test delivers
    // such a message from it.
    std::function<void(const std::string& call)> whileWaiting;
    platform::WindowId foreground = platform::kNoWindow;
    struct Announcement {
        platform::WindowId window;
        int controlId;
        std::string name;
        std::string value;
    };
    std::vector<Announcement> announcements;
    int windowsCreated = 0;

private:
    CallLog& log_;
    const double& screenTwipsX_;
    platform::WindowId nextId_ = 100;
};

}  // namespace qmx::fakes
