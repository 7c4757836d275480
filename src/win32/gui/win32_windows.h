#pragma once

#include <windows.h>

#include "platform/forms.h"
#include "platform/input.h"
#include "platform/menus.h"
#include "platform/message_boxes.h"
#include "platform/timers.h"
#include "platform/window_placement.h"
#include "win32/gui/accessibility.h"
#include "win32/gui/cursor_store.h"
#include "win32/gui/icon_store.h"
#include "win32/gui/menu_theme_follower.h"
#include "win32/gui/picture_store.h"
#include "win32/system/unique_handle.h"

namespace qmx::win32 {

// The program's windows on the Win32 user interface, with their placement, input, timers, menus
// and message boxes: one window manager answers every role, as they share the windows. Each form
// is one top-level window whose controls are real child windows carrying their texts, so that
// screen readers and test tools can read them; pictures and label texts are painted by the
// program. Events go to the form's WindowEvents on this thread, and no exception leaves a window
// procedure.
class Win32Windows : public platform::Forms,
                     public platform::WindowPlacement,
                     public platform::Input,
                     public platform::Timers,
                     public platform::Menus,
                     public platform::MessageBoxes {
public:
    // `kernel`: the version the kernel reports (System::kernelVersion).
    Win32Windows(HINSTANCE instance, const IconStore& icons, const PictureStore& pictures,
                 const CursorStore& cursors, const platform::OsVersion& kernel);
    ~Win32Windows() override;

    void initCommonControls() override;
    platform::WindowId createWindow(const resources::FormDefinition& definition,
                                    platform::WindowEvents& events) override;
    void destroyWindow(platform::WindowId window) override;
    void setWindowIcon(platform::WindowId window, platform::IconId icon) override;
    int windowDpi(platform::WindowId window) override;
    void setControlText(platform::WindowId window, int controlId, std::string_view text) override;
    void setControlValue(platform::WindowId window, int controlId, int value) override;
    int controlValue(platform::WindowId window, int controlId) override;
    void moveControl(platform::WindowId window, int controlId, float leftTwips,
                     float topTwips) override;
    void setControlVisible(platform::WindowId window, int controlId, bool visible) override;
    void setPicture(platform::WindowId window, int controlId, platform::PictureId picture) override;
    void setControlBackColor(platform::WindowId window, int controlId,
                             std::uint32_t color) override;
    void setControlUnderline(platform::WindowId window, int controlId, bool underline) override;
    void clickButton(platform::WindowId window, int controlId) override;
    void focusControl(platform::WindowId window, int controlId) override;
    void nameControl(platform::WindowId window, int controlId, std::string_view name) override;
    void setRoundRectRegion(platform::WindowId window, int controlId, int left, int top, int right,
                            int bottom, int ellipseWidth, int ellipseHeight) override;
    void setWindowPos(platform::WindowId window, platform::ZOrder insertAfter, int x, int y, int cx,
                      int cy, unsigned flags) override;
    void showWindow(platform::WindowId window) override;
    void windowPosition(platform::WindowId window, float& leftTwips, float& topTwips) override;
    void moveWindow(platform::WindowId window, float leftTwips, float topTwips) override;
    bool setForegroundWindow(platform::WindowId window) override;
    bool isForegroundWindow(platform::WindowId window) override;
    std::uint32_t extendedStyle(platform::WindowId window) override;
    std::uint32_t setExtendedStyle(platform::WindowId window, std::uint32_t style) override;
    void setLayeredAttributes(platform::WindowId window, std::uint32_t colorKey, std::uint8_t alpha,
                              std::uint32_t flags) override;
    std::uint32_t classStyle(platform::WindowId window) override;
    void setClassStyle(platform::WindowId window, std::uint32_t style) override;
    int popupMenu(platform::WindowId owner, std::span<const resources::MenuItemDefinition> items,
                  const platform::MenuState& state) override;
    bool watchPointer(platform::WindowId window, bool watch) override;
    void announceSlider(platform::WindowId window, int controlId, std::string_view name,
                        std::string_view value) override;
    std::uint32_t registerHotKey(platform::WindowId window, int id, unsigned modifiers,
                                 unsigned virtualKey) override;
    void unregisterHotKey(platform::WindowId window, int id) override;
    unsigned doubleClickTime() override;
    std::uint32_t tickCount() override;
    void setTimer(platform::WindowId window, int timerId, unsigned intervalMs) override;
    void killTimer(platform::WindowId window, int timerId) override;
    // Keys and the wheel meant for the controller reach the controller itself, whichever of its
    // controls has the focus; Tab moves the focus between its controls. True when the message
    // was taken.
    bool preTranslate(const MSG& message);

    int messageBox(platform::WindowId owner, std::string_view text, std::string_view caption,
                   unsigned flags) override;

private:
    HINSTANCE instance_;
    const IconStore& icons_;
    const PictureStore& pictures_;
    const CursorStore& cursors_;
    MenuThemeFollower menuTheme_;
    HWND owner_ = nullptr;  // hidden owner of the forms: no taskbar buttons; hears setting changes
    ATOM controllerClass_ = 0;
    UniqueFont dialogFont_;
    Accessibility accessibility_;
};

}  // namespace qmx::win32
