#pragma once

#include <cstdint>
#include <string_view>

#include "platform/window_events.h"

namespace qmx::resources {
struct FormDefinition;
}  // namespace qmx::resources

namespace qmx::platform {

// Windows made from their form definitions, and their controls. A window is created with every
// control a user reads or operates as a child the system can see; it lives until destroyWindow.
// Its events arrive on the user-interface thread.
class Forms {
public:
    Forms() = default;
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;
    virtual ~Forms() = default;

    virtual void initCommonControls() = 0;
    virtual WindowId createWindow(const resources::FormDefinition& definition,
                                  WindowEvents& events) = 0;
    virtual void destroyWindow(WindowId window) = 0;
    virtual void setWindowIcon(WindowId window, IconId icon) = 0;
    // The resolution (dots per inch) the window is laid out at: its monitor's.
    virtual int windowDpi(WindowId window) = 0;

    virtual void setControlText(WindowId window, int controlId, std::string_view text) = 0;
    virtual void setControlValue(WindowId window, int controlId, int value) = 0;
    // The value a control holds now as the user left it: a shortcut-key box's key and modifiers
    // (kHotKey* flags in its high byte).
    virtual int controlValue(WindowId window, int controlId) = 0;
    virtual void moveControl(WindowId window, int controlId, float leftTwips, float topTwips) = 0;
    virtual void setControlVisible(WindowId window, int controlId, bool visible) = 0;
    // Picture of a control, or of the window's background for kFormItself.
    virtual void setPicture(WindowId window, int controlId, PictureId picture) = 0;
    // Background colour of a control, as a 0x00BBGGRR colour value.
    virtual void setControlBackColor(WindowId window, int controlId, std::uint32_t color) = 0;
    virtual void setControlUnderline(WindowId window, int controlId, bool underline) = 0;
    // The name screen readers speak for a control that shows no text of its own.
    virtual void nameControl(WindowId window, int controlId, std::string_view name) = 0;
    // Tells screen readers that a control is a slider named `name` whose value now reads `value`.
    virtual void announceSlider(WindowId window, int controlId, std::string_view name,
                                std::string_view value) = 0;
};

}  // namespace qmx::platform
