#include "fakes/fake_windows.h"

#include <algorithm>
#include <utility>

#include "common/runtime_error.h"

namespace qmx::fakes {

platform::WindowId FakeWindows::createWindow(const resources::FormDefinition& definition,
                                             platform::WindowEvents& events) {
    log_.add(std::string("windows.create ") + definition.name);
    const platform::WindowId id = nextId_++;
    Window window;
    window.name = definition.name;
    window.events = &events;
    // A new window shows every control as designed.
    for (const auto& control : definition.controls) {
        window.texts[control.id] = control.caption;
        window.tops[control.id] = static_cast<float>(control.top);
        window.visible[control.id] = control.visible;
        window.pictures[control.id] = control.picture;
    }
    windows[id] = window;
    ++windowsCreated;
    reenter("createWindow");
    return id;
}

void FakeWindows::destroyWindow(platform::WindowId window) {
    auto it = windows.find(window);
    if (it == windows.end()) return;
    log_.add("windows.destroy " + it->second.name);
    reenter("destroyWindow");
    windows.erase(window);
    std::erase_if(timers_, [&](const RunningTimer& t) { return t.window == window; });
}

int FakeWindows::windowDpi(platform::WindowId window) {
    const int own = windows.at(window).dpi;
    return own != 0 ? own : static_cast<int>(1440.0 / screenTwipsX_ + 0.5);
}

void FakeWindows::changeDpi(platform::WindowId window, int dpi) {
    windows.at(window).dpi = dpi;
    deliver(window, [dpi](platform::WindowEvents& e) { e.onDpiChanged(dpi); });
}

void FakeWindows::setWindowIcon(platform::WindowId window, platform::IconId icon) {
    windows.at(window).icon = icon;
}

void FakeWindows::setControlText(platform::WindowId window, int controlId, std::string_view text) {
    Window& w = windows.at(window);
    log_.add("windows.setText " + w.name + " " + std::to_string(controlId));
    w.texts[controlId] = std::string(text);
}

void FakeWindows::setControlValue(platform::WindowId window, int controlId, int value) {
    windows.at(window).values[controlId] = value;
}

void FakeWindows::moveControl(platform::WindowId window, int controlId, float, float top) {
    Window& w = windows.at(window);
    log_.add("windows.move " + w.name + " " + std::to_string(controlId));
    w.tops[controlId] = top;
}

void FakeWindows::setTimer(platform::WindowId window, int timerId, unsigned intervalMs) {
    Window& w = windows.at(window);
    log_.add("windows.setTimer " + w.name + " " + std::to_string(timerId));
    killTimer(window, timerId);
    // A message loop delivers no timer faster than every 10 ms.
    const unsigned interval = std::max(intervalMs, 10u);
    timers_.push_back({window, timerId, interval, now + interval});
}

void FakeWindows::killTimer(platform::WindowId window, int timerId) {
    std::erase_if(timers_,
                  [&](const RunningTimer& t) { return t.window == window && t.id == timerId; });
}

int FakeWindows::messageBox(platform::WindowId owner, std::string_view text,
                            std::string_view caption, unsigned flags) {
    log_.add("windows.messageBox " + std::string(text));
    messageBoxes.push_back({owner, std::string(text), std::string(caption), flags});
    if (onMessageBox) onMessageBox(messageBoxes.back());
    return 1;  // IDOK
}

void FakeWindows::setControlVisible(platform::WindowId window, int controlId, bool visible) {
    windows.at(window).visible[controlId] = visible;
}

void FakeWindows::setPicture(platform::WindowId window, int controlId,
                             platform::PictureId picture) {
    windows.at(window).pictures[controlId] = picture;
}

void FakeWindows::setControlBackColor(platform::WindowId window, int controlId,
                                      std::uint32_t color) {
    windows.at(window).backColors[controlId] = color;
}

void FakeWindows::clickButton(platform::WindowId window, int controlId) {
    log_.add("windows.clickButton " + windows.at(window).name + " " + std::to_string(controlId));
    buttonClicks.emplace_back(window, controlId);
    foreground = window;
    reenter("clickButton");
}

void FakeWindows::setRoundRectRegion(platform::WindowId window, int controlId, int left, int top,
                                     int right, int bottom, int ellipseWidth, int ellipseHeight) {
    windows.at(window).regions[controlId] = {left, top, right, bottom, ellipseWidth, ellipseHeight};
}

void FakeWindows::setWindowPos(platform::WindowId window, platform::ZOrder insertAfter, int x,
                               int y, int, int, unsigned flags) {
    Window& w = windows.at(window);
    log_.add("windows.setWindowPos " + w.name + " " +
             std::to_string(static_cast<int>(insertAfter)) + " " + std::to_string(flags));
    if (!(flags & platform::kSwpNoMove)) {
        w.x = x;
        w.y = y;
        w.leftTwips = x * 15.0f;
        w.topTwips = y * 15.0f;
    }
    w.topMost = insertAfter == platform::ZOrder::TopMost;
    if (flags & platform::kSwpShowWindow) {
        w.shown = true;
        reenter("setWindowPos");
    }
}

void FakeWindows::showWindow(platform::WindowId window) {
    windows.at(window).shown = true;
    reenter("showWindow");
}

bool FakeWindows::setForegroundWindow(platform::WindowId window) {
    foreground = window;
    return true;
}

std::uint32_t FakeWindows::setExtendedStyle(platform::WindowId window, std::uint32_t style) {
    return std::exchange(windows.at(window).extendedStyle, style);
}

void FakeWindows::setLayeredAttributes(platform::WindowId window, std::uint32_t, std::uint8_t alpha,
                                       std::uint32_t flags) {
    windows.at(window).alpha = alpha;
    windows.at(window).layeredFlags = flags;
}

std::uint32_t FakeWindows::classStyle(platform::WindowId window) {
    return classStyles[windows.at(window).name];
}

void FakeWindows::setClassStyle(platform::WindowId window, std::uint32_t style) {
    classStyles[windows.at(window).name] = style;
}

int FakeWindows::popupMenu(platform::WindowId owner,
                           std::span<const resources::MenuItemDefinition> items,
                           const platform::MenuState& state) {
    log_.add("windows.popupMenu");
    popups.push_back({owner, {items.begin(), items.end()}, state, foreground == owner});
    if (whileMenuOpen) std::exchange(whileMenuOpen, nullptr)();
    return std::exchange(menuChoice, 0);
}

void FakeWindows::deliver(platform::WindowId window,
                          const std::function<void(platform::WindowEvents&)>& event) {
    auto it = windows.find(window);
    if (it == windows.end()) return;
    try {
        event(*it->second.events);
    } catch (const ProcessExit&) {
        throw;
    } catch (const EventAbandoned&) {
    }
}

void FakeWindows::advance(unsigned milliseconds) {
    const std::uint64_t end = now + milliseconds;
    for (;;) {
        auto next = std::min_element(timers_.begin(), timers_.end(),
                                     [](const auto& a, const auto& b) { return a.due < b.due; });
        if (next == timers_.end() || next->due > end) break;
        now = next->due;
        next->due += next->interval;
        const platform::WindowId window = next->window;
        const int id = next->id;
        deliver(window, [id](platform::WindowEvents& e) { e.onTimer(id); });
    }
    now = end;
}

const FakeWindows::Window* FakeWindows::find(const std::string& name) const {
    for (const auto& [id, w] : windows) {
        if (w.name == name) return &w;
    }
    return nullptr;
}

platform::WindowId FakeWindows::idOf(const std::string& name) const {
    for (const auto& [id, w] : windows) {
        if (w.name == name) return id;
    }
    return platform::kNoWindow;
}

bool FakeWindows::timerRunning(platform::WindowId window, int timerId) const {
    return std::any_of(timers_.begin(), timers_.end(),
                       [&](const auto& t) { return t.window == window && t.id == timerId; });
}

void FakeWindows::windowPosition(platform::WindowId window, float& leftTwips, float& topTwips) {
    const Window& w = windows.at(window);
    leftTwips = w.leftTwips;
    topTwips = w.topTwips;
}

void FakeWindows::moveWindow(platform::WindowId window, float leftTwips, float topTwips) {
    Window& w = windows.at(window);
    w.leftTwips = leftTwips;
    w.topTwips = topTwips;
}

}  // namespace qmx::fakes
