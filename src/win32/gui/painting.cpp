#include "win32/gui/painting.h"

#include "ui/layout.h"

#include <algorithm>
#include <cstring>

namespace qmx::win32 {

void paintFormBackground(HWND formWindow, const FormWindow& form, HDC dc, POINT origin) {
    RECT client;
    GetClientRect(formWindow, &client);
    RECT target{-origin.x, -origin.y, client.right - origin.x, client.bottom - origin.y};
    const std::uint32_t color = form.definition->backColor;
    if (color == kSystemColor) {
        FillRect(dc, &target, GetSysColorBrush(COLOR_BTNFACE));
    } else {
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &target, brush);
        DeleteObject(brush);
    }
    if (form.background == platform::PictureId::None) return;
    // Pictures keep their proportions and grow with the resolution; the controller's skin
    // fills the controller.
    const SIZE size = form.pictures->size(form.background);
    // The picture's size is given in pixels of the default resolution.
    const double twipsPerPicturePixel = ui::twipsPerPixelAt(ui::kDefaultDpi);
    RECT picture{target.left, target.top,
                 target.left + ui::pixelsAt(size.cx * twipsPerPicturePixel, form.dpi),
                 target.top + ui::pixelsAt(size.cy * twipsPerPicturePixel, form.dpi)};
    if (form.definition->kind == resources::FormKind::Controller) picture = target;
    form.pictures->draw(dc, form.background, picture, form.dpi);
}

HFONT fontFor(ControlWindow& control, const FormWindow& form) {
    if (!control.font && control.design && control.design->font) {
        const auto& design = *control.design->font;
        // Points to pixels: a point is 20 twips.
        const int height = -ui::pixelsAt(design.points * 20.0, form.dpi);
        control.font.reset(CreateFontA(height, 0, 0, 0, design.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                       control.underline, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                       DEFAULT_PITCH, design.face));
    }
    if (!control.font) return form.dialogFont;
    return control.font.get();
}

// A picture, image or label: the form's background under it, its picture, its text.
void paintControl(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HWND parent = GetParent(window);
    FormWindow* form = formOf(parent);
    if (form != nullptr) {
        auto it = form->controls.find(controlIdOf(window));
        RECT client;
        GetClientRect(window, &client);
        HDC buffer = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ previous = SelectObject(buffer, bitmap);
        POINT origin{0, 0};
        MapWindowPoints(window, parent, &origin, 1);
        paintFormBackground(parent, *form, buffer, origin);
        if (it != form->controls.end()) {
            ControlWindow& control = it->second;
            if (control.picture != platform::PictureId::None) {
                form->pictures->draw(buffer, control.picture, client, form->dpi);
            }
            if (control.design && control.design->kind == resources::ControlKind::Label) {
                wchar_t text[256] = {};
                GetWindowTextW(window, text, 256);
                HGDIOBJ oldFont = SelectObject(buffer, fontFor(control, *form));
                SetBkMode(buffer, TRANSPARENT);
                SetTextColor(buffer, control.design->foreColor);
                const UINT align =
                    control.design->centred ? DT_CENTER | DT_VCENTER : DT_LEFT | DT_END_ELLIPSIS;
                DrawTextW(buffer, text, -1, &client, align | DT_SINGLELINE | DT_NOPREFIX);
                SelectObject(buffer, oldFont);
            }
        }
        if (showsFocus(window)) DrawFocusRect(buffer, &client);
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, previous);
        DeleteObject(bitmap);
        DeleteDC(buffer);
    }
    EndPaint(window, &paint);
}

void fitLabel(HWND parent, FormWindow& form, ControlWindow& control) {
    const auto& d = *control.design;
    wchar_t text[256] = {};
    const int length = GetWindowTextW(control.window, text, 256);
    HDC dc = GetDC(control.window);
    HGDIOBJ old = SelectObject(dc, fontFor(control, form));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    SelectObject(dc, old);
    ReleaseDC(control.window, dc);
    const int designWidth = ui::pixelsAt(d.width, form.dpi);
    const int designLeft = ui::pixelsAt(d.left, form.dpi);
    RECT now;
    GetWindowRect(control.window, &now);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&now), 2);
    if (d.centred) {
        const int width = std::max<int>(designWidth, extent.cx + 2);
        SetWindowPos(control.window, nullptr, designLeft + designWidth / 2 - width / 2, now.top,
                     width, now.bottom - now.top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        // It grows up to a margin of 120 twips before the form's edge; beyond, the text ends in
        // "…" (a device's long name).
        const int height = std::max<int>(now.bottom - now.top, extent.cy);
        RECT formArea;
        GetClientRect(parent, &formArea);
        const int room =
            std::max<int>(designWidth, formArea.right - designLeft - ui::pixelsAt(120, form.dpi));
        SetWindowPos(control.window, nullptr, designLeft, now.top,
                     std::min<int>(extent.cx + 2, room), height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace qmx::win32
