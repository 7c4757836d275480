#pragma once

#include <cstdint>
#include <string_view>

namespace qmx::resources {
struct FormDefinition;
}

namespace qmx::platform {

using WindowId = std::uintptr_t;
inline constexpr WindowId kNoWindow = 0;

// Control id 0 stands for the window itself (its background).
inline constexpr int kFormItself = 0;

enum class IconId { None = 0, TrayNormal = 1, TrayMuted = 2 };

// Mouse buttons as a bit mask, as pointer events report them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// What a window hears from the user and the system. Positions are twips relative to the
// element's own top-left corner.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    virtual void onTimer(int timerId) = 0;
    virtual void onPointerDown(int controlId, int button, float x, float y) = 0;
    virtual void onClick(int controlId) = 0;
    // The shell's notification area was created again (the shell restarted).
    virtual void onTaskbarCreated() = 0;
};

// Windows, their controls and timers, and message boxes. A window is created from its
// definition, with every control a user reads or operates as a child the system can see; it and
// its timers live until destroyWindow. Events arrive on the user-interface thread.
class WindowSystem {
public:
    WindowSystem() = default;
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;
    virtual ~WindowSystem() = default;

    virtual void initCommonControls() = 0;
    virtual WindowId createWindow(const resources::FormDefinition& definition,
                                  WindowEvents& events) = 0;
    virtual void destroyWindow(WindowId window) = 0;
    virtual void setWindowIcon(WindowId window, IconId icon) = 0;

    virtual void setControlText(WindowId window, int controlId, std::string_view text) = 0;
    virtual void setControlValue(WindowId window, int controlId, int value) = 0;
    virtual void moveControl(WindowId window, int controlId, float leftTwips, float topTwips) = 0;

    virtual void setTimer(WindowId window, int timerId, unsigned intervalMs) = 0;
    virtual void killTimer(WindowId window, int timerId) = 0;

    // Shows a message box owned by no window; returns the button pressed.
    virtual int messageBox(std::string_view text, std::string_view caption, unsigned flags) = 0;
};

}  // namespace qmx::platform
