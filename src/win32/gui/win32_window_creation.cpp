// The window system's classes and the making of a form: its window and its controls' windows.
#include <cstddef>
#include "win32/gui/win32_windows.h"

#include <commctrl.h>

#include "resources/form_definition.h"
#include "win32/gui/dpi.h"
#include "win32/gui/form_layout.h"
#include "win32/gui/form_window.h"
#include "win32/gui/painting.h"
#include "win32/gui/pointer.h"
#include "win32/gui/window_procedures.h"
#include "win32/system/system_library.h"

namespace qmx::win32 {

namespace {

constexpr const char* kHostClass = "QmxTrayHost";
constexpr const char* kControllerClass = "QmxController";
constexpr const char* kPictureClass = "QmxPicture";
constexpr const char* kOwnerClass = "QmxOwner";
constexpr const char* kDialogClass = "QmxDialog";

ATOM registerClass(HINSTANCE instance, const char* name, WNDPROC procedure, HBRUSH background,
                   HICON icon, UINT style = 0) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass);
}

ATOM registerUnicodeClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass);
}

struct ChildStyle {
    const char* windowClass;
    DWORD style;
};

ChildStyle childStyleFor(resources::ControlKind kind) {
    using K = resources::ControlKind;
    switch (kind) {
        case K::CheckBox:
            return {"BUTTON", BS_CHECKBOX | WS_TABSTOP};
        case K::CommandButton:
            return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};  // BS_DEFPUSHBUTTON when default
        case K::TextBox:
            return {"EDIT", ES_AUTOHSCROLL};
        case K::ListBox:
            return {"LISTBOX", 0};
        case K::HotKeyBox:
            return {HOTKEY_CLASSA, WS_TABSTOP | WS_BORDER};
        case K::Label:
        case K::PictureBox:
        case K::Image:
            return {kPictureClass, 0};
    }
    return {kPictureClass, 0};
}

// An elevated copy would not hear "TaskbarCreated" from the unelevated shell (User Interface
// Privilege Isolation) and so lose its icon when Explorer restarts. Windows 7 and later let the
// host window alone accept it (ChangeWindowMessageFilterEx); Vista has only the process-wide
// ChangeWindowMessageFilter, which Microsoft advises against where the other exists ("not
// recommended, as it has process-wide scope"); XP has neither and no such isolation. Both are
// looked up at run time so that the program still starts on XP.
void acceptTaskbarCreated(HWND host) {
    using WindowFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using ProcessFilter = BOOL(WINAPI*)(UINT, DWORD);
    static const auto windowFilter =
        loadedFunction<WindowFilter>(L"user32.dll", "ChangeWindowMessageFilterEx");
    static const auto processFilter =
        loadedFunction<ProcessFilter>(L"user32.dll", "ChangeWindowMessageFilter");
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
    constexpr DWORD kAdd = 1;    // MSGFLT_ADD
    const UINT message = taskbarCreatedMessage();
    if (windowFilter != nullptr && windowFilter(host, message, kAllow, nullptr)) return;
    if (processFilter != nullptr) processFilter(message, kAdd);
}

// Tooltips of the controls that have one; the tooltip window belongs to the form's window.
void addTooltips(HWND window, FormWindow& form) {
    HWND tooltip = nullptr;
    for (auto& [id, control] : form.controls) {
        if (control.design->tooltip[0] == '\0') continue;
        if (tooltip == nullptr) {
            tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                      nullptr, nullptr);
            if (tooltip == nullptr) return;
        }
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(control.window);
        tool.lpszText = const_cast<char*>(control.design->tooltip);
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace

Win32Windows::Win32Windows(HINSTANCE instance, const IconStore& icons, const PictureStore& pictures,
                           const CursorStore& cursors, const platform::OsVersion& kernel)
    : instance_(instance),
      icons_(icons),
      pictures_(pictures),
      cursors_(cursors),
      menuTheme_(kernel) {
    registerClass(instance, kHostClass, formProcedure, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                  icons.applicationIcon());
    controllerClass_ =
        registerClass(instance, kControllerClass, formProcedure, nullptr, nullptr, CS_DBLCLKS);
    registerUnicodeClass(instance, L"QmxPicture", controlProcedure, CS_DBLCLKS);
    registerClass(instance, kOwnerClass, ownerProcedure, nullptr, icons.applicationIcon());
    registerClass(instance, kDialogClass, formProcedure, nullptr, nullptr, CS_DBLCLKS);
    menuTheme_.follow();
    owner_ = CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                             nullptr, instance, &menuTheme_);
    // System controls draw in the dialog font of the desktop's current settings. XP and Server
    // 2003 refuse the structure's size with Vista's last member (iPaddedBorderWidth) and take it
    // without ("NONCLIENTMETRICS structure", Microsoft's documentation).
    NONCLIENTMETRICSA metrics{};
    for (UINT size :
         {UINT{sizeof(metrics)}, UINT{offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth)}}) {
        metrics.cbSize = size;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, size, &metrics, 0)) {
            dialogFont_.reset(CreateFontIndirectA(&metrics.lfMessageFont));
            break;
        }
    }
}

Win32Windows::~Win32Windows() {
    if (owner_) DestroyWindow(owner_);
    for (const char* name :
         {kDialogClass, kOwnerClass, kPictureClass, kControllerClass, kHostClass}) {
        UnregisterClassA(name, instance_);
    }
}

void Win32Windows::initCommonControls() {
    InitCommonControls();
}

platform::WindowId Win32Windows::createWindow(const resources::FormDefinition& definition,
                                              platform::WindowEvents& events) {
    auto* form = new FormWindow;
    form->events = &events;
    form->definition = &definition;
    form->pictures = &pictures_;
    form->cursors = &cursors_;
    form->accessibility = &accessibility_;
    form->systemDialogFont =
        dialogFont_ ? dialogFont_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const bool host = definition.kind == resources::FormKind::HiddenHost;
    const bool dialog = definition.kind == resources::FormKind::ToolDialog;
    form->background = definition.picture;
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_TOOLWINDOW;
    const char* windowClass = host ? kHostClass : kControllerClass;
    if (dialog) {
        // A fixed tool window centred on the screen.
        style |= WS_CAPTION | WS_SYSMENU;
        exStyle |= WS_EX_CONTROLPARENT;
        windowClass = kDialogClass;
    }
    // Made on the primary monitor, then laid out at that monitor's resolution (or a lower one
    // where it would not fit the work area).
    HWND window = CreateWindowExA(exStyle, windowClass, definition.caption, style, 0, 0, 0, 0,
                                  host ? nullptr : owner_, nullptr, instance_, form);
    if (window == nullptr) {
        delete form;
        return platform::kNoWindow;
    }
    const RECT primary{0, 0, 1, 1};
    fitFormDpi(window, *form, dpiOf(window), primary);
    const POINT origin{0, 0};
    sizeFormWindow(window, *form, dpiOf(window), dialog ? nullptr : &origin);
    for (const auto& design : definition.controls) {
        ChildStyle style = childStyleFor(design.kind);
        if (design.tabStop == resources::TabStop::Yes) style.style |= WS_TABSTOP;
        if (design.tabStop == resources::TabStop::No) style.style &= ~WS_TABSTOP;
        if (design.id == definition.defaultButton) style.style |= BS_DEFPUSHBUTTON;
        // Picture-less buttons carry their tooltip as their text, for screen readers.
        const char* text = design.caption[0] != '\0' ? design.caption : design.tooltip;
        HWND child = CreateWindowExA(
            0, style.windowClass, text,
            WS_CHILD | WS_CLIPSIBLINGS | style.style | (design.visible ? WS_VISIBLE : 0), 0, 0, 0,
            0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(childIdFor(design.id))),
            instance_, nullptr);
        ControlWindow& control = form->controls[design.id];
        control.window = child;
        control.design = &design;
        control.picture = design.picture;
        control.underline = design.font != nullptr && design.font->underline;
        control.leftTwips = design.left;
        control.topTwips = design.top;
        placeControl(window, *form, control);
        if (design.kind == resources::ControlKind::CheckBox) {
            SetWindowSubclass(child, systemControlSubclass, 0, 0);
        }
        if (design.kind == resources::ControlKind::HotKeyBox) {
            // A key alone, or with one of Shift, Ctrl and Alt alone (Ctrl+C, Alt+F), would take
            // that combination from every program: such a choice gets Ctrl+Alt added, as the
            // program's own ShortcutKey::asTheBoxMakesIt takes a stored value.
            SendMessageA(child, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S | HKCOMB_C | HKCOMB_A,
                         MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        }
    }
    // Controls with a window of their own lie above the pictures and labels, which in turn lie
    // above the form's background; among themselves they keep the designed order, which is
    // also the order Tab goes through them.
    HWND previous = HWND_TOP;
    for (const auto& design : definition.controls) {
        if (design.kind == resources::ControlKind::Image ||
            design.kind == resources::ControlKind::Label) {
            continue;
        }
        HWND child = form->controls[design.id].window;
        SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
    }
    if (!host) {
        // Focus rectangles show only once the keyboard is used (in a dialog the dialog manager
        // shows them then), unless the user has asked for keyboard cues always.
        BOOL cuesAlways = FALSE;
        SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cuesAlways, 0);
        form->focusCues = cuesAlways != FALSE;
        SendMessageA(window, WM_CHANGEUISTATE,
                     MAKEWPARAM(cuesAlways ? UIS_CLEAR : UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                     0);
    }
    if (host) acceptTaskbarCreated(window);
    if (!host) addTooltips(window, *form);
    return reinterpret_cast<platform::WindowId>(window);
}

void Win32Windows::destroyWindow(platform::WindowId window) {
    DestroyWindow(handleOf(window));
}

}  // namespace qmx::win32
