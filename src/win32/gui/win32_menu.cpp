// The tray host's popup menu: items and submenus from the menu's definition, with the marks,
// the grayed items and the default item of its state; captions may be in any language (UTF-8).
// And where the notification area stands, for a menu opened from the keyboard.
#include "resources/tray_menu.h"
#include "win32/gui/form_window.h"
#include "win32/gui/win32_windows.h"
#include "win32/system/unique_handle.h"
#include "win32/system/wide_text.h"

namespace qmx::win32 {

int Win32Windows::popupMenu(platform::WindowId owner,
                            std::span<const resources::MenuItemDefinition> items,
                            const platform::MenuState& state) {
    UniqueMenu menu(CreatePopupMenu());
    HMENU submenu = nullptr;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        const bool hasChildren = i + 1 < items.size() && items[i + 1].level > item.level;
        HMENU parent = item.level == 1 ? menu.get() : submenu;
        if (parent == nullptr) continue;
        const std::wstring caption = widen(item.caption);
        if (item.id == 0) {
            AppendMenuW(parent, MF_SEPARATOR, 0, nullptr);
        } else if (hasChildren) {
            submenu = CreatePopupMenu();
            AppendMenuW(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), caption.c_str());
        } else {
            const UINT checked = state.checked.count(item.id) ? MF_CHECKED : MF_UNCHECKED;
            const UINT isDefault = item.id == state.defaultItem ? MF_DEFAULT : 0;
            const UINT grayed = state.disabled.count(item.id) ? MF_GRAYED : 0;
            AppendMenuW(parent, MF_STRING | checked | isDefault | grayed, item.id, caption.c_str());
            if (state.radio.count(item.id)) {
                MENUITEMINFOW info{};
                info.cbSize = sizeof(info);
                info.fMask = MIIM_FTYPE;
                info.fType = MFT_STRING | MFT_RADIOCHECK;
                SetMenuItemInfoW(parent, item.id, FALSE, &info);
            }
        }
    }
    if (state.defaultItem != 0) SetMenuDefaultItem(menu.get(), state.defaultItem, FALSE);
    POINT at{};
    if (state.place) {
        at = {(state.place->left + state.place->right) / 2,
              (state.place->top + state.place->bottom) / 2};
    } else {
        GetCursorPos(&at);
    }
    const int chosen = TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD,
                                      at.x, at.y, 0, handleOf(owner), nullptr);
    PostMessageA(handleOf(owner), WM_NULL, 0, 0);
    return chosen;
}

}  // namespace qmx::win32
