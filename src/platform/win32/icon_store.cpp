#include "platform/win32/icon_store.h"

#include "platform/win32/resource_ids.h"

namespace qmx::win32 {

namespace {
HICON loadIcon(HINSTANCE instance, int id, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                         LR_DEFAULTCOLOR));
}
}  // namespace

IconStore::IconStore(HINSTANCE instance)
    : normalSmall_(loadIcon(instance, QMX_ICON_TRAY_NORMAL, SM_CXSMICON, SM_CYSMICON)),
      normalLarge_(loadIcon(instance, QMX_ICON_TRAY_NORMAL, SM_CXICON, SM_CYICON)),
      mutedSmall_(loadIcon(instance, QMX_ICON_TRAY_MUTED, SM_CXSMICON, SM_CYSMICON)),
      mutedLarge_(loadIcon(instance, QMX_ICON_TRAY_MUTED, SM_CXICON, SM_CYICON)),
      appSmall_(loadIcon(instance, QMX_ICON_APP, SM_CXSMICON, SM_CYSMICON)),
      appLarge_(loadIcon(instance, QMX_ICON_APP, SM_CXICON, SM_CYICON)) {}

HICON IconStore::small(platform::IconId icon) const {
    switch (icon) {
        case platform::IconId::TrayNormal:
            return normalSmall_.get();
        case platform::IconId::TrayMuted:
            return mutedSmall_.get();
        case platform::IconId::None:
            break;
    }
    return nullptr;
}

HICON IconStore::large(platform::IconId icon) const {
    switch (icon) {
        case platform::IconId::TrayNormal:
            return normalLarge_.get();
        case platform::IconId::TrayMuted:
            return mutedLarge_.get();
        case platform::IconId::None:
            break;
    }
    return nullptr;
}

}  // namespace qmx::win32
