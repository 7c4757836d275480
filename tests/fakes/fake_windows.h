#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/window_system.h"
#include "resources/form_definition.h"
#include "resources/tray_menu.h"

namespace qmx::fakes {

// Simulated windows with a virtual clock. Timers tick only when the test advances the clock;
// due ticks run one at a time, in order, as a message loop delivers them. Events are delivered
// through the same boundary as the real window procedure: nothing escapes it but the end of the
// process.
class FakeWindows : public platform::WindowSystem {
public:
    // The windows stand at the screen's resolution (`screenTwipsX`, twips per pixel) until a
    // test moves one to another (changeDpi).
    FakeWindows(CallLog& log, const double& screenTwipsX)
        : log_(log), screenTwipsX_(screenTwipsX) {}

    void initCommonControls() override { log_.add("windows.initCommonControls"); }
    platform::WindowId createWindow(const resources::FormDefinition& definition,
                                    platform::WindowEvents& events) override;
    void destroyWindow(platform::WindowId window) override;
    void setWindowIcon(platform::WindowId window, platform::IconId icon) override;
    int windowDpi(platform::WindowId window) override;
    // The window now stands on a monitor of another resolution.
    void changeDpi(platform::WindowId window, int dpi);
    void setControlText(platform::WindowId window, int controlId, std::string_view text) override;
    void setControlValue(platform::WindowId window, int controlId, int value) override;
    int controlValue(platform::WindowId window, int controlId) override {
        return windows.at(window).values[controlId];
    }
    void moveControl(platform::WindowId window, int controlId, float left, float top) override;
    void setTimer(platform::WindowId window, int timerId, unsigned intervalMs) override;
    void killTimer(platform::WindowId window, int timerId) override;
    int messageBox(platform::WindowId owner, std::string_view text, std::string_view caption,
                   unsigned flags) override;
    void setControlVisible(platform::WindowId window, int controlId, bool visible) override;
    void setPicture(platform::WindowId window, int controlId, platform::PictureId picture) override;
    void setControlBackColor(platform::WindowId window, int controlId,
                             std::uint32_t color) override;
    void clickButton(platform::WindowId window, int controlId) override;
    void focusControl(platform::WindowId window, int controlId) override {
        reenter("focusControl");
        foreground = window;
        focus = {window, controlId};
    }
    void nameControl(platform::WindowId window, int controlId, std::string_view name) override {
        windows.at(window).accessibleNames[controlId] = std::string(name);
    }
    void setControlUnderline(platform::WindowId window, int controlId, bool underline) override {
        windows.at(window).underline[controlId] = underline;
    }
    void setRoundRectRegion(platform::WindowId window, int controlId, int left, int top, int right,
                            int bottom, int ellipseWidth, int ellipseHeight) override;
    void setWindowPos(platform::WindowId window, platform::ZOrder insertAfter, int x, int y, int cx,
                      int cy, unsigned flags) override;
    void showWindow(platform::WindowId window) override;
    void windowPosition(platform::WindowId window, float& leftTwips, float& topTwips) override;
    void moveWindow(platform::WindowId window, float leftTwips, float topTwips) override;
    bool setForegroundWindow(platform::WindowId window) override;
    bool isForegroundWindow(platform::WindowId window) override { return foreground == window; }
    std::uint32_t extendedStyle(platform::WindowId window) override {
        return windows.at(window).extendedStyle;
    }
    std::uint32_t setExtendedStyle(platform::WindowId window, std::uint32_t style) override;
    void setLayeredAttributes(platform::WindowId window, std::uint32_t colorKey, std::uint8_t alpha,
                              std::uint32_t flags) override;
    std::uint32_t classStyle(platform::WindowId window) override;
    void setClassStyle(platform::WindowId window, std::uint32_t style) override;
    int popupMenu(platform::WindowId owner, std::span<const resources::MenuItemDefinition> items,
                  const platform::MenuState& state) override;

    bool watchPointer(platform::WindowId window, bool watch) override {
        log_.add(std::string("windows.watchPointer ") + (watch ? "on" : "off"));
        if (!canWatchPointer) return false;
        if (!watch && failStopWatching > 0) {
            --failStopWatching;
            return false;
        }
        pointerWatchedBy = watch ? window : platform::kNoWindow;
        return true;
    }
    void announceSlider(platform::WindowId window, int controlId, std::string_view name,
                        std::string_view value) override {
        announcements.push_back({window, controlId, std::string(name), std::string(value)});
    }

    // Shortcut keys: the system's table of registrations, by the registering window and id. A
    // combination is registered once, whoever holds it.
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
    unsigned doubleClickTime() override { return doubleClickMs; }
    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(now); }
    bool notificationAreaRect(platform::Rect& area) override {
        if (!notificationArea) return false;
        area = *notificationArea;
        return true;
    }

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
    struct Popup {
        platform::WindowId owner;
        std::vector<resources::MenuItemDefinition> items;
        platform::MenuState state;
        bool ownerWasForeground;
    };
    struct MessageBox {
        platform::WindowId owner;
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
    // Windows hands a thread the messages other threads send it while one of its calls waits on
    // another thread (activation, focus, showing). Runs with the call's name; a test delivers
    // such a message from it.
    std::function<void(const std::string& call)> whileWaiting;
    std::vector<Popup> popups;
    int menuChoice = 0;  // the item the user picks from the next popup menu
    std::map<std::string, std::uint32_t> classStyles;  // by form name
    platform::WindowId foreground = platform::kNoWindow;
    std::vector<std::pair<platform::WindowId, int>> buttonClicks;
    std::pair<platform::WindowId, int> focus{platform::kNoWindow, 0};  // the focused control
    std::map<std::pair<platform::WindowId, int>, std::pair<unsigned, unsigned>> hotKeys;
    // The error a registration of (modifiers as asked, key) answers with.
    std::map<std::pair<unsigned, unsigned>, std::uint32_t> hotKeyRefusals;
    unsigned doubleClickMs = 500;
    std::optional<platform::Rect> notificationArea = platform::Rect{900, 738, 1024, 768};
    bool canWatchPointer = true;
    platform::WindowId pointerWatchedBy = platform::kNoWindow;
    int failStopWatching = 0;  // how many of the next requests to stop watching fail
    struct Announcement {
        platform::WindowId window;
        int controlId;
        std::string name;
        std::string value;
    };
    std::vector<Announcement> announcements;
    int windowsCreated = 0;
    std::uint64_t now = 0;
    std::function<void()> whileMenuOpen;  // runs once, while the next popup menu is open

private:
    void reenter(const std::string& call) {
        if (!whileWaiting) return;
        const auto hook = whileWaiting;  // the hook may replace itself
        hook(call);
    }
    struct RunningTimer {
        platform::WindowId window;
        int id;
        unsigned interval;
        std::uint64_t due;
    };
    CallLog& log_;
    const double& screenTwipsX_;
    platform::WindowId nextId_ = 100;
    std::vector<RunningTimer> timers_;
};

}  // namespace qmx::fakes
