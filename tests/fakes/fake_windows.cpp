#include "fakes/fake_windows.h"

#include <algorithm>

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
}

int FakeWindows::windowDpi(platform::WindowId window) {
    const int own = windows.at(window).dpi;
    return own != 0 ? own : static_cast<int>(1440.0 / screenTwipsX_ + 0.5);
}

void FakeWindows::changeDpi(platform::WindowId window, int dpi) {
    windows.at(window).dpi = dpi;
    deliver(window, [dpi](platform::WindowEvents& e) { e.onDpiChanged(dpi); });
}

void FakeWindows::setControlText(platform::WindowId window, int controlId, std::string_view text) {
    Window& w = windows.at(window);
    log_.add("windows.setText " + w.name + " " + std::to_string(controlId));
    w.texts[controlId] = std::string(text);
}

void FakeWindows::moveControl(platform::WindowId window, int controlId, float, float top) {
    Window& w = windows.at(window);
    log_.add("windows.move " + w.name + " " + std::to_string(controlId));
    w.tops[controlId] = top;
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

}  // namespace qmx::fakes
