#pragma once

#include <windows.h>

#include "platform/window_system.h"
#include "platform/win32/icon_store.h"

namespace qmx::win32 {

// The program's windows on the Win32 user interface. Each form is one top-level window whose
// controls are real child windows (so screen readers and test tools can read them); events go
// to the form's WindowEvents on this thread. No exception leaves a window procedure.
class Win32Windows : public platform::WindowSystem {
public:
    Win32Windows(HINSTANCE instance, const IconStore& icons);
    ~Win32Windows() override;

    void initCommonControls() override;
    platform::WindowId createWindow(const resources::FormDefinition& definition,
                                    platform::WindowEvents& events) override;
    void destroyWindow(platform::WindowId window) override;
    void setWindowIcon(platform::WindowId window, platform::IconId icon) override;
    void setControlText(platform::WindowId window, int controlId, std::string_view text) override;
    void setControlValue(platform::WindowId window, int controlId, int value) override;
    void moveControl(platform::WindowId window, int controlId, float leftTwips,
                     float topTwips) override;
    void setTimer(platform::WindowId window, int timerId, unsigned intervalMs) override;
    void killTimer(platform::WindowId window, int timerId) override;
    int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;

private:
    HINSTANCE instance_;
    const IconStore& icons_;
};

}  // namespace qmx::win32
