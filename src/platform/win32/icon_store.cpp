#include "platform/win32/icon_store.h"

#include <utility>

#include "platform/win32/resource_ids.h"

namespace qmx::win32 {

namespace {
HICON loadIcon(HINSTANCE instance, int id, int metricX, int metricY) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                         LR_DEFAULTCOLOR));
}
}  // namespace

IconStore::IconStore(HINSTANCE instance) {
    for (auto [sizes, id] : {std::pair{&normal_, QMX_ICON_TRAY_NORMAL},
                             {&muted_, QMX_ICON_TRAY_MUTED},
                             {&application_, QMX_ICON_APP}}) {
        sizes->small.reset(loadIcon(instance, id, SM_CXSMICON, SM_CYSMICON));
        sizes->large.reset(loadIcon(instance, id, SM_CXICON, SM_CYICON));
    }
}

const IconStore::Sizes& IconStore::sizes(platform::IconId icon) const {
    switch (icon) {
        case platform::IconId::TrayNormal:
            return normal_;
        case platform::IconId::TrayMuted:
            return muted_;
        case platform::IconId::None:
            break;
    }
    return none_;
}

}  // namespace qmx::win32
