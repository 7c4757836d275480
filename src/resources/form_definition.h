#pragma once

#include <cstdint>
#include <span>

#include "platform/window_events.h"

namespace qmx::resources {

enum class ControlKind {
    Label,
    CheckBox,
    PictureBox,
    Image,
    CommandButton,
    TextBox,
    ListBox,
    HotKeyBox,  // the system's shortcut-key box
};

// Whether Tab stops at a control: buttons and check boxes do unless told otherwise, other
// kinds only when told.
enum class TabStop { ByKind, Yes, No };

// A control's font as designed: its face, its size in points, its weight (bold or normal) and
// whether it is underlined.
struct FontFaceSizeWeight {
    const char* face;
    float points;
    bool bold;
    bool underline;
};

// One control as designed. Positions and sizes are twips within the window's client area.
struct ControlDefinition {
    int id;
    const char* name;
    ControlKind kind;
    int left, top, width, height;
    const char* caption;
    const char* tooltip;
    bool visible;
    const FontFaceSizeWeight* font = nullptr;  // the dialog font when none
    std::uint32_t foreColor = 0x000000;        // 0x00BBGGRR
    platform::PictureId picture = platform::PictureId::None;
    bool handPointer = false;
    bool centred = false;  // a label's text centred on its place (else it grows to the right)
    TabStop tabStop = TabStop::ByKind;
};

enum class FormKind {
    HiddenHost,  // never shown; hosts the tray icon and the hidden controls
    Controller,  // borderless, skinned, no taskbar button
    ToolDialog,  // fixed tool window centred on the screen, no taskbar button
};

struct FormDefinition {
    const char* name;
    FormKind kind;
    int clientWidth, clientHeight;  // twips
    const char* caption;
    std::span<const ControlDefinition> controls;
    std::uint32_t backColor = 0xFFFFFFFF;  // 0x00BBGGRR, or the system's dialog colour
    platform::PictureId picture = platform::PictureId::None;
    int defaultButton = 0;  // the button that Enter presses in a dialog

    const ControlDefinition* control(int id) const {
        for (const auto& c : controls) {
            if (c.id == id) return &c;
        }
        return nullptr;
    }
};

}  // namespace qmx::resources
