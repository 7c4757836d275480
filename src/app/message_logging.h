#pragma once

#include "common/event_log.h"
#include "platform/window_system.h"

namespace qmx::app {

// The platform's window system, with every message box the program shows written to the log
// as it appears: the one place all of them pass. Everything else is handed on unchanged.
class MessageLogging : public platform::WindowSystem {
public:
    MessageLogging(platform::WindowSystem& windows, EventLog& log) : windows_(windows), log_(log) {}

    int messageBox(platform::WindowId owner, std::string_view text, std::string_view caption,
                   unsigned flags) override;

    void initCommonControls() override { windows_.initCommonControls(); }
    platform::WindowId createWindow(const resources::FormDefinition& definition,
                                    platform::WindowEvents& events) override {
        return windows_.createWindow(definition, events);
    }
    void destroyWindow(platform::WindowId window) override { windows_.destroyWindow(window); }
    void setWindowIcon(platform::WindowId window, platform::IconId icon) override {
        windows_.setWindowIcon(window, icon);
    }
    int windowDpi(platform::WindowId window) override { return windows_.windowDpi(window); }
    void setControlText(platform::WindowId window, int controlId, std::string_view text) override {
        windows_.setControlText(window, controlId, text);
    }
    void setControlValue(platform::WindowId window, int controlId, int value) override {
        windows_.setControlValue(window, controlId, value);
    }
    int controlValue(platform::WindowId window, int controlId) override {
        return windows_.controlValue(window, controlId);
    }
    void moveControl(platform::WindowId window, int controlId, float leftTwips,
                     float topTwips) override {
        windows_.moveControl(window, controlId, leftTwips, topTwips);
    }
    void setControlVisible(platform::WindowId window, int controlId, bool visible) override {
        windows_.setControlVisible(window, controlId, visible);
    }
    void setPicture(platform::WindowId window, int controlId,
                    platform::PictureId picture) override {
        windows_.setPicture(window, controlId, picture);
    }
    void setControlBackColor(platform::WindowId window, int controlId,
                             std::uint32_t color) override {
        windows_.setControlBackColor(window, controlId, color);
    }
    void setControlUnderline(platform::WindowId window, int controlId, bool underline) override {
        windows_.setControlUnderline(window, controlId, underline);
    }
    void clickButton(platform::WindowId window, int controlId) override {
        windows_.clickButton(window, controlId);
    }
    void focusControl(platform::WindowId window, int controlId) override {
        windows_.focusControl(window, controlId);
    }
    void nameControl(platform::WindowId window, int controlId, std::string_view name) override {
        windows_.nameControl(window, controlId, name);
    }
    void setRoundRectRegion(platform::WindowId window, int controlId, int left, int top, int right,
                            int bottom, int ellipseWidth, int ellipseHeight) override {
        windows_.setRoundRectRegion(window, controlId, left, top, right, bottom, ellipseWidth,
                                    ellipseHeight);
    }
    void setWindowPos(platform::WindowId window, platform::ZOrder insertAfter, int x, int y, int cx,
                      int cy, unsigned flags) override {
        windows_.setWindowPos(window, insertAfter, x, y, cx, cy, flags);
    }
    void showWindow(platform::WindowId window) override { windows_.showWindow(window); }
    void windowPosition(platform::WindowId window, float& leftTwips, float& topTwips) override {
        windows_.windowPosition(window, leftTwips, topTwips);
    }
    void moveWindow(platform::WindowId window, float leftTwips, float topTwips) override {
        windows_.moveWindow(window, leftTwips, topTwips);
    }
    bool setForegroundWindow(platform::WindowId window) override {
        return windows_.setForegroundWindow(window);
    }
    bool isForegroundWindow(platform::WindowId window) override {
        return windows_.isForegroundWindow(window);
    }
    std::uint32_t extendedStyle(platform::WindowId window) override {
        return windows_.extendedStyle(window);
    }
    std::uint32_t setExtendedStyle(platform::WindowId window, std::uint32_t style) override {
        return windows_.setExtendedStyle(window, style);
    }
    void setLayeredAttributes(platform::WindowId window, std::uint32_t colorKey, std::uint8_t alpha,
                              std::uint32_t flags) override {
        windows_.setLayeredAttributes(window, colorKey, alpha, flags);
    }
    std::uint32_t classStyle(platform::WindowId window) override {
        return windows_.classStyle(window);
    }
    void setClassStyle(platform::WindowId window, std::uint32_t style) override {
        windows_.setClassStyle(window, style);
    }
    int popupMenu(platform::WindowId owner, std::span<const resources::MenuItemDefinition> items,
                  const platform::MenuState& state) override {
        return windows_.popupMenu(owner, items, state);
    }
    bool watchPointer(platform::WindowId window, bool watch) override {
        return windows_.watchPointer(window, watch);
    }
    void announceSlider(platform::WindowId window, int controlId, std::string_view name,
                        std::string_view value) override {
        windows_.announceSlider(window, controlId, name, value);
    }
    std::uint32_t registerHotKey(platform::WindowId window, int id, unsigned modifiers,
                                 unsigned virtualKey) override {
        return windows_.registerHotKey(window, id, modifiers, virtualKey);
    }
    void unregisterHotKey(platform::WindowId window, int id) override {
        windows_.unregisterHotKey(window, id);
    }
    void setTimer(platform::WindowId window, int timerId, unsigned intervalMs) override {
        windows_.setTimer(window, timerId, intervalMs);
    }
    void killTimer(platform::WindowId window, int timerId) override {
        windows_.killTimer(window, timerId);
    }

private:
    platform::WindowSystem& windows_;
    EventLog& log_;
};

}  // namespace qmx::app
